#pragma once

#include <QObject>

namespace glyfora::app::testing {

class StartupTests : public QObject {
    Q_OBJECT
private slots:
    void startsWithAnEmptyDocumentUnderFive();
    void registrationNoticeOnlyAfterARewrite_data();
    void registrationNoticeOnlyAfterARewrite();
    void commandLineOptions_data();
    void commandLineOptions();
    void environmentTurnsTheCheckOff();
    void commandLineFileOpensBeforeTheFirstEvent();
    void commandLineFileThatCannotBeOpened();
    void secondRunRestoresWhatTheFirstLeft();
    void storedZoomsAreKeptInRange_data();
    void storedZoomsAreKeptInRange();
    void positionsOffEveryScreenComeBack_data();
    void positionsOffEveryScreenComeBack();
    void registrationIsWrittenOnceIntoTheDataFolder();
    void installedProgramLeavesTheRegistrationAlone();
    void hiddenMainWindowStaysHidden();
};

} // namespace glyfora::app::testing
