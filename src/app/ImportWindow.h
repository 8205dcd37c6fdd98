#pragma once

#include <QWidget>

namespace glyfora::app {

// "Import TTF": the font-import options and "Create Typeface". Closing it only hides it.
class ImportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ImportWindow(QWidget* mainWindow);
};

} // namespace glyfora::app
