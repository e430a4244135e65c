#include "platform/CommandLine.h"

namespace tolm::platform {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

} // namespace

QStringList splitArguments(const QString& text)
{
    QStringList words;
    QString word;
    bool inWord = false; // an empty quote pair still makes a word
    enum class Quote { None, Single, Double } quote = Quote::None;

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        switch (quote) {
        case Quote::Single:
            if (c == u'\'')
                quote = Quote::None;
            else
                word += c;
            break;
        case Quote::Double:
            if (c == u'"') {
                quote = Quote::None;
            } else if (c == u'\\' && (next == u'\\' || next == u'"' || next == u'$' || next == u'`')) {
                word += next;
                ++i;
            } else {
                word += c;
            }
            break;
        case Quote::None:
            if (isBlank(c)) {
                if (inWord)
                    words << word;
                word.clear();
                inWord = false;
                break;
            }
            inWord = true;
            if (c == u'\'') {
                quote = Quote::Single;
            } else if (c == u'"') {
                quote = Quote::Double;
            } else if (c == u'\\' && (next == u'\\' || next == u'"' || next == u'\'' || isBlank(next))) {
                word += next;
                ++i;
            } else {
                word += c;
            }
            break;
        }
    }
    if (inWord)
        words << word;
    return words;
}

QString quoteArgument(const QString& argument)
{
    QString quoted = argument;
    // Inside single quotes nothing is special; a quote itself ends the quoted
    // part, is written escaped, and a new quoted part starts.
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

namespace {

// One launch of the line; `oneFileCode` tells whether it holds %f or %u.
DesktopExec expandExec(const QString& execLine, const QStringList& files, const QString& iconName,
    const QString& name, const QString& entryPath, bool* oneFileCode)
{
    QStringList arguments;
    for (const QString& word : splitArguments(execLine)) {
        // Codes that stand for a list only expand when they are a whole word.
        if (word == u"%F" || word == u"%U") {
            arguments << files;
            continue;
        }
        if (word == u"%i") {
            if (!iconName.isEmpty())
                arguments << QStringLiteral("--icon") << iconName;
            continue;
        }
        QString expanded;
        bool droppedCode = false;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word.at(i) != u'%' || i + 1 >= word.size()) {
                expanded += word.at(i);
                continue;
            }
            const QChar code = word.at(++i);
            if (code == u'%') {
                expanded += u'%';
            } else if (code == u'f' || code == u'u' || code == u'F' || code == u'U') {
                *oneFileCode = *oneFileCode || code == u'f' || code == u'u';
                if (files.isEmpty())
                    droppedCode = true;
                else
                    expanded += files.first();
            } else if (code == u'c') {
                expanded += name;
            } else if (code == u'k') {
                expanded += entryPath;
            } else {
                droppedCode = true; // %d %D %n %N %v %m and unknown codes
            }
        }
        if (expanded.isEmpty() && droppedCode)
            continue;
        arguments << expanded;
    }
    DesktopExec result;
    if (!arguments.isEmpty())
        result.program = arguments.takeFirst();
    result.arguments = arguments;
    return result;
}

} // namespace

QList<DesktopExec> desktopExecCommands(const QString& execLine, const QStringList& files,
    const QString& iconName, const QString& name, const QString& entryPath)
{
    bool oneFileCode = false;
    const DesktopExec all = expandExec(execLine, files, iconName, name, entryPath, &oneFileCode);
    if (!oneFileCode || files.size() < 2)
        return { all };
    QList<DesktopExec> launches;
    for (const QString& file : files)
        launches << expandExec(execLine, { file }, iconName, name, entryPath, &oneFileCode);
    return launches;
}

} // namespace tolm::platform
