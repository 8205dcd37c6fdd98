#include "QtTestRegistry.h"
#include "app/shell/Dialogs.h"

#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

namespace glyfora::app::testing {

class SettingsStoreTests : public QObject {
    Q_OBJECT

private slots:
    void FileDialogsWriteNoSettingsOfTheirOwn() {
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        QVERIFY(!config.isEmpty());
        const QtFileDialogs dialogs;
        {
            QFileDialog dialog(nullptr, QStringLiteral("Open Typeface"), QDir::tempPath());
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            QTimer::singleShot(0, &dialog, &QDialog::reject);
            dialog.exec();
        }
        QDirIterator files(config, {QStringLiteral("QtProject.conf")}, QDir::Files,
                           QDirIterator::Subdirectories);
        QVERIFY2(!files.hasNext(), qPrintable(files.hasNext() ? files.next() : QString()));
    }
};

GLYFORA_QTEST(SettingsStoreTests);

} // namespace glyfora::app::testing

#include "SettingsStoreTests.moc"
