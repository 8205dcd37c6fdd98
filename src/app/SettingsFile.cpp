// The link between the shell's settings and the platform's settings file and file-type
// registration. Kept in one file so that the platform side can change without touching the rest.
#include "app/Settings.h"

#include <QDir>
#include <QSettings>
#include <QString>

namespace glyfora::app {
namespace {

constexpr auto FileName = u"Configuration.ini";

std::optional<std::int64_t> ReadInteger(const QSettings& file, const QString& key) {
    if (!file.contains(key)) {
        return std::nullopt;
    }
    bool ok = false;
    const qlonglong value = file.value(key).toString().trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

WindowKeys ReadWindow(QSettings& file, const QString& group) {
    file.beginGroup(group);
    WindowKeys keys{ReadInteger(file, QStringLiteral("X")), ReadInteger(file, QStringLiteral("Y")),
                    ReadInteger(file, QStringLiteral("Width")),
                    ReadInteger(file, QStringLiteral("Height")),
                    ReadInteger(file, QStringLiteral("Hide"))};
    file.endGroup();
    return keys;
}

void WriteWindow(QSettings& file, const QString& group, const WindowKeys& keys) {
    file.beginGroup(group);
    const auto put = [&file](const QString& key, const std::optional<std::int64_t>& value) {
        if (value) {
            file.setValue(key, QString::number(*value));
        }
    };
    put(QStringLiteral("X"), keys.X);
    put(QStringLiteral("Y"), keys.Y);
    put(QStringLiteral("Width"), keys.Width);
    put(QStringLiteral("Height"), keys.Height);
    put(QStringLiteral("Hide"), keys.Hide);
    file.endGroup();
}

QString SettingsPath(const std::string& settingsFolder) {
    return QDir(QString::fromStdString(settingsFolder)).filePath(QString::fromUtf16(FileName));
}

} // namespace

ShellSettings ReadSettingsFile(const std::string& settingsFolder) {
    QSettings file(SettingsPath(settingsFolder), QSettings::IniFormat);
    ShellSettings settings;
    settings.Main = ReadWindow(file, QStringLiteral("WindowMain"));
    settings.Main.Width.reset();
    settings.Main.Height.reset();
    settings.Example = ReadWindow(file, QStringLiteral("WindowExample"));
    settings.Import = ReadWindow(file, QStringLiteral("WindowImport"));
    settings.CharacterSet = ReadWindow(file, QStringLiteral("WindowCharacterSet"));
    settings.Character = ReadWindow(file, QStringLiteral("WindowCharacter"));
    settings.KerningPair = ReadWindow(file, QStringLiteral("WindowKerningPair"));
    settings.CharacterSetZoom =
        ReadInteger(file, QStringLiteral("WindowCharacterSet/Zoom")).value_or(1);
    settings.EditorPath =
        file.value(QStringLiteral("WindowCharacterSet/Editor")).toString().trimmed().toStdString();
    settings.CharacterZoom = ReadInteger(file, QStringLiteral("WindowCharacter/Zoom")).value_or(8);
    return settings;
}

bool WriteSettingsFile(const std::string& settingsFolder, const ShellSettings& settings) {
    if (!QDir().mkpath(QString::fromStdString(settingsFolder))) {
        return false;
    }
    QSettings file(SettingsPath(settingsFolder), QSettings::IniFormat);
    WriteWindow(file, QStringLiteral("WindowMain"), settings.Main);
    WriteWindow(file, QStringLiteral("WindowExample"), settings.Example);
    WriteWindow(file, QStringLiteral("WindowImport"), settings.Import);
    WriteWindow(file, QStringLiteral("WindowCharacterSet"), settings.CharacterSet);
    file.setValue(QStringLiteral("WindowCharacterSet/Zoom"),
                  QString::number(settings.CharacterSetZoom));
    file.setValue(QStringLiteral("WindowCharacterSet/Editor"),
                  QString::fromStdString(settings.EditorPath));
    WriteWindow(file, QStringLiteral("WindowCharacter"), settings.Character);
    file.setValue(QStringLiteral("WindowCharacter/Zoom"), QString::number(settings.CharacterZoom));
    WriteWindow(file, QStringLiteral("WindowKerningPair"), settings.KerningPair);
    file.sync();
    return file.status() == QSettings::NoError;
}

std::string DefaultSettingsFolder() {
    QString base = qEnvironmentVariable("APPDATA");
    if (base.isEmpty()) {
        base = qEnvironmentVariable("XDG_CONFIG_HOME");
    }
    if (base.isEmpty()) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return (base + QStringLiteral("/Zorbatek/Glyfora/")).toStdString();
}

bool CheckFileTypeRegistrationOfProgram(const std::string& /*programPath*/) {
    // The XDG registration is not part of this build yet: nothing is rewritten.
    return false;
}

} // namespace glyfora::app
