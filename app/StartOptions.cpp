#include "app/StartOptions.h"

#include <QCommandLineParser>
#include <QDir>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>

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

// The argument an option name came from, as typed ("-x" for "x").
QString typedArgument(const QStringList& arguments, const QString& name)
{
    for (const QString& arg : arguments.mid(1)) {
        const QString typed = arg.section(QLatin1Char('='), 0, 0);
        if (typed == QLatin1Char('-') + name || typed == QLatin1String("--") + name)
            return arg;
    }
    return name;
}

// Why a value is missing or not wanted, for the option that takes one or none.
QString valueError(const QCommandLineParser& parser)
{
    // The parser names the option as typed between quotes; with no
    // translation loaded its words are its own.
    const QString typed = parser.errorText().section(QLatin1Char('\''), 1, 1);
    const QString name = typed.mid(typed.startsWith(QLatin1String("--")) ? 2 : 1);
    if (name == QLatin1String("dir"))
        return QStringLiteral("option --dir needs a folder");
    if (name == QLatin1String("autostart"))
        return QStringLiteral("option --autostart needs on or off");
    if (qtOptionsWithValue().contains(QLatin1Char('-') + name))
        return QStringLiteral("option -%1 needs a value").arg(name);
    return QStringLiteral("option %1 takes no value").arg(typed);
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

    QCommandLineParser parser;
    // Qt's own options are words behind a single dash.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({ QCommandLineOption(QStringList { QStringLiteral("h"), QStringLiteral("help") }),
        QCommandLineOption(QStringLiteral("version")),
        QCommandLineOption(QStringLiteral("dir"), {}, QStringLiteral("DIR")),
        QCommandLineOption(QStringLiteral("user")),
        QCommandLineOption(QStringLiteral("autostart"), {}, QStringLiteral("on|off")) });
    for (const QString& name : qtOptionsWithValue())
        parser.addOption(QCommandLineOption(name.mid(1), {}, QStringLiteral("value")));
    for (const QString& name : qtFlags())
        parser.addOption(QCommandLineOption(name.mid(1)));

    const bool parsed = parser.parse(arguments);
    if (!parser.unknownOptionNames().isEmpty())
        return failed(options,
            QStringLiteral("unknown option '%1'")
                .arg(typedArgument(arguments, parser.unknownOptionNames().first())));
    if (!parsed)
        return failed(options, valueError(parser));
    if (!parser.positionalArguments().isEmpty())
        return failed(
            options, QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    const QStringList dirs = parser.values(QStringLiteral("dir"));
    if (dirs.contains(QString()))
        return failed(options, QStringLiteral("option --dir needs a folder"));
    const QStringList given = parser.optionNames();
    if (dirs.size() + given.count(QStringLiteral("user")) > 1)
        return failed(options, QStringLiteral("give only one of --dir and --user"));
    if (!dirs.isEmpty()) {
        options.folder = StartOptions::Folder::Given;
        options.dir = dirs.first();
    } else if (given.contains(QStringLiteral("user"))) {
        options.folder = StartOptions::Folder::User;
    }

    // Qt's options in the order given, each with its value.
    QHash<QString, qsizetype> used;
    for (const QString& name : given) {
        const QString option = QLatin1Char('-') + name;
        if (qtFlags().contains(option))
            options.qtArguments << option;
        else if (qtOptionsWithValue().contains(option))
            options.qtArguments << option << parser.values(name).at(used[name]++);
    }

    // --autostart answers before help and version; of those two, the first given.
    for (const QString& value : parser.values(QStringLiteral("autostart"))) {
        if (value != QLatin1String("on") && value != QLatin1String("off"))
            return failed(options, QStringLiteral("option --autostart needs on or off, not '%1'").arg(value));
        options.autostartOn = value == QLatin1String("on");
        options.action = StartOptions::Action::Autostart;
    }
    for (const QString& name : given) {
        if (options.action != StartOptions::Action::Run)
            break;
        if (name == QLatin1String("h") || name == QLatin1String("help"))
            options.action = StartOptions::Action::Help;
        else if (name == QLatin1String("version"))
            options.action = StartOptions::Action::Version;
    }
    // --autostart only with a folder option would be a mistake the user
    // should hear about.
    if (options.action == StartOptions::Action::Autostart && options.folder != StartOptions::Folder::Current)
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
