#include "app/StartOptions.h"

#include <QDir>
#include <QStringDecoder>
#include <algorithm>
#include <optional>

#ifndef TOLM_VERSION
#define TOLM_VERSION "0"
#endif

namespace tolm::app {

namespace {

// Qt's own command-line options, which QApplication takes out of argv. A
// session manager restarts a program with -session, so these must pass.
const QStringList& qtOptionsWithValue()
{
    static const QStringList names { "-platform", "-platformpluginpath", "-platformtheme", "-plugin",
        "-display", "-geometry", "-qwindowgeometry", "-qwindowicon", "-qwindowtitle", "-title", "-name",
        "-style", "-stylesheet", "-session" };
    return names;
}

const QStringList& qtFlags()
{
    static const QStringList names { "-reverse", "-widgetcount", "-nograb", "-dograb", "-sync" };
    return names;
}

StartOptions failed(StartOptions options, const QString& error)
{
    options.action = StartOptions::Action::Error;
    options.error = error;
    return options;
}

// The first word of a desktop entry's Exec line holds a path that may have
// blanks or quotes in it: quoted as the entry format says, then escaped as
// any value of the file is.
QString execQuoted(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#()`");
    QString out = argument;
    out.replace(QLatin1Char('%'), QStringLiteral("%%"));
    bool needsQuotes = false;
    for (const QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);
    if (needsQuotes) {
        QString quoted;
        for (const QChar c : out) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
                || c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        out = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    out.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    out.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return out;
}

} // namespace

StartOptions parseStartOptions(const QStringList& arguments)
{
    StartOptions options;
    options.qtArguments.append(arguments.value(0, QStringLiteral("tolm")));
    bool folderGiven = false;
    auto chooseFolder = [&](StartOptions::Folder folder) -> bool {
        if (folderGiven)
            return false;
        folderGiven = true;
        options.folder = folder;
        return true;
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        QString name = arg;
        std::optional<QString> inlineValue;
        if (arg.startsWith(QLatin1String("--"))) {
            const qsizetype equals = arg.indexOf(QLatin1Char('='));
            if (equals > 0) {
                name = arg.left(equals);
                inlineValue = arg.mid(equals + 1);
            }
        }
        // The value of an option that takes one: after '=' or the next argument.
        auto takeValue = [&](QString* value) -> bool {
            if (inlineValue) {
                *value = *inlineValue;
                return true;
            }
            if (i + 1 >= arguments.size())
                return false;
            *value = arguments.at(++i);
            return true;
        };

        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            if (inlineValue)
                return failed(options, QStringLiteral("option %1 takes no value").arg(name));
            if (options.action == StartOptions::Action::Run)
                options.action = StartOptions::Action::Help;
        } else if (name == QLatin1String("--version")) {
            if (inlineValue)
                return failed(options, QStringLiteral("option %1 takes no value").arg(name));
            if (options.action == StartOptions::Action::Run)
                options.action = StartOptions::Action::Version;
        } else if (name == QLatin1String("--dir")) {
            QString value;
            if (!takeValue(&value) || value.isEmpty())
                return failed(options, QStringLiteral("option --dir needs a folder"));
            if (!chooseFolder(StartOptions::Folder::Given))
                return failed(options, QStringLiteral("give only one of --dir and --user"));
            options.dir = value;
        } else if (name == QLatin1String("--user")) {
            if (inlineValue)
                return failed(options, QStringLiteral("option --user takes no value"));
            if (!chooseFolder(StartOptions::Folder::User))
                return failed(options, QStringLiteral("give only one of --dir and --user"));
        } else if (name == QLatin1String("--autostart")) {
            QString value;
            if (!takeValue(&value))
                return failed(options, QStringLiteral("option --autostart needs on or off"));
            if (value == QLatin1String("on"))
                options.autostartOn = true;
            else if (value == QLatin1String("off"))
                options.autostartOn = false;
            else
                return failed(
                    options, QStringLiteral("option --autostart needs on or off, not '%1'").arg(value));
            options.action = StartOptions::Action::Autostart;
        } else if (qtOptionsWithValue().contains(arg)) {
            if (i + 1 >= arguments.size())
                return failed(options, QStringLiteral("option %1 needs a value").arg(arg));
            options.qtArguments << arg << arguments.at(++i);
        } else if (qtFlags().contains(arg)) {
            options.qtArguments << arg;
        } else if (arg.startsWith(QLatin1Char('-'))) {
            return failed(options, QStringLiteral("unknown option '%1'").arg(arg));
        } else {
            return failed(options, QStringLiteral("unexpected argument '%1'").arg(arg));
        }
    }
    // Help and version answer at once; --autostart only with a folder option
    // would be a mistake the user should hear about.
    if (options.action == StartOptions::Action::Autostart && folderGiven)
        return failed(
            options, QStringLiteral("--autostart always uses the per-user folder; leave out --dir/--user"));
    return options;
}

QString shelfFolder(
    const StartOptions& options, const QString& currentDir, const Environment& env, QString* error)
{
    switch (options.folder) {
    case StartOptions::Folder::Current:
        return QDir::cleanPath(currentDir);
    case StartOptions::Folder::Given:
        return QDir::cleanPath(QDir(currentDir).absoluteFilePath(options.dir));
    case StartOptions::Folder::User: {
        const QString data = platform::userDataFolder(env);
        if (data.isEmpty()) {
            if (error)
                *error = QStringLiteral("--user needs HOME or XDG_DATA_HOME to find the per-user folder");
            return {};
        }
        return data + QStringLiteral("/tolm");
    }
    }
    return {};
}

QString missingDisplay(const StartOptions& options, const Environment& env)
{
    QString platform = env("QT_QPA_PLATFORM");
    QString display = env("DISPLAY");
    for (qsizetype i = 1; i + 1 < options.qtArguments.size(); ++i) {
        if (options.qtArguments.at(i) == QLatin1String("-platform"))
            platform = options.qtArguments.at(i + 1);
        else if (options.qtArguments.at(i) == QLatin1String("-display"))
            display = options.qtArguments.at(i + 1);
    }
    if (!display.isEmpty() || !env("WAYLAND_DISPLAY").isEmpty())
        return {};
    // A list such as "wayland;xcb" is tried in order; one platform that draws
    // without a display server (offscreen, minimal, vnc, linuxfb, eglfs) is enough.
    const QStringList candidates = platform.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& candidate : candidates) {
        const QString name = candidate.section(QLatin1Char(':'), 0, 0).trimmed();
        if (!name.isEmpty() && name != QLatin1String("xcb") && !name.startsWith(QLatin1String("wayland")))
            return {};
    }
    return QStringLiteral("cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set");
}

QString autostartEntry(const QByteArray& program, QString* error)
{
    // An entry is UTF-8 text in which only a tab, a line break and a
    // carriage return among the control characters have an escape.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString path = decoder(program);
    const bool unwritable = decoder.hasError() || std::any_of(path.begin(), path.end(), [](QChar c) {
        return (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c.unicode() == 0x7f;
    });
    if (unwritable) {
        if (error)
            *error = QStringLiteral("the path of this program cannot be written in an autostart entry, "
                                    "which holds UTF-8 text: %1")
                         .arg(QString::fromLocal8Bit(program.toPercentEncoding("/")));
        return {};
    }
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Tolm\n"
                          "Comment=Launcher shelves kept in the per-user folder\n"
                          "Comment[es]=Estanterías de botones guardadas en la carpeta del usuario\n"
                          "Exec=%1 --user\n"
                          "Icon=tolm\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execQuoted(path));
}

QString autostartFile(const Environment& env)
{
    const QString config = platform::userConfigFolder(env);
    if (config.isEmpty())
        return {};
    return config + QStringLiteral("/autostart/tolm.desktop");
}

QString usageText()
{
    return QStringLiteral(
        "Usage: tolm [OPTION]\n"
        "Shows the launcher shelf kept in the shelf folder (tolm95.dat and tolmcN.dat).\n"
        "\n"
        "  --dir DIR          keep the shelves in DIR (created when missing)\n"
        "  --user             keep the shelves in $XDG_DATA_HOME/tolm (~/.local/share/tolm);\n"
        "                     the desktop menu entry starts Tolm this way\n"
        "  --autostart on|off start Tolm with --user when the desktop session starts, or no more\n"
        "  --help             show this text and end\n"
        "  --version          show the version and end\n"
        "\n"
        "Without --dir or --user the shelves are kept in the current directory.\n");
}

QString versionText()
{
    return QStringLiteral("tolm " TOLM_VERSION "\n");
}

} // namespace tolm::app
