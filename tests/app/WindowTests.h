#pragma once

#include <QObject>

namespace glyfora::app::testing {

class WindowTests : public QObject {
    Q_OBJECT
private slots:
    void firstRunPlacesSixWindows_data();
    void firstRunPlacesSixWindows();
    void mainWindowHasMenusAndEmptyStatusBar();
    void characterSetWindowHasFourBarCommands();
    void controlsSitWhereTheLayoutSays_data();
    void controlsSitWhereTheLayoutSays();
    void rowLabelsAndFrameTitles();
    void codeRowsStartAtBlank();
    void reportListsHaveTheirColumns();
    void exampleWindowHasTextOverScreen();
    void canvasesPaintTheViewBackground();
};

} // namespace glyfora::app::testing
