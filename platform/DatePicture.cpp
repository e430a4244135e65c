#include "platform/DatePicture.h"

#include "platform/LocaleInfo.h"

#include <QList>
#include <algorithm>
#include <array>
#include <charconv>

namespace tolm::platform::picture {

namespace {

struct Token {
    QChar letter; // null for literal text
    int count { 0 };
    QString text; // literal text
    bool dropped { false };
};

QList<Token> tokenize(const QString& picture, QStringView letters)
{
    QList<Token> tokens;
    auto addLiteral = [&](const QString& s) {
        if (!tokens.isEmpty() && tokens.last().letter.isNull())
            tokens.last().text += s;
        else
            tokens.append(Token { QChar(), 0, s });
    };
    for (qsizetype i = 0; i < picture.size();) {
        const QChar c = picture.at(i);
        if (c == u'\'') {
            if (i + 1 < picture.size() && picture.at(i + 1) == u'\'') {
                addLiteral(QStringLiteral("'"));
                i += 2;
                continue;
            }
            QString quoted;
            ++i;
            while (i < picture.size()) {
                if (picture.at(i) == u'\'') {
                    if (i + 1 < picture.size() && picture.at(i + 1) == u'\'') {
                        quoted += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                quoted += picture.at(i++);
            }
            addLiteral(quoted);
            continue;
        }
        if (letters.contains(c)) {
            qsizetype j = i;
            while (j < picture.size() && picture.at(j) == c)
                ++j;
            tokens.append(Token { c, int(qMin<qsizetype>(j - i, 100)), {} });
            i = j;
            continue;
        }
        addLiteral(QString(c));
        ++i;
    }
    return tokens;
}

QString serialize(const QList<Token>& tokens)
{
    QString out;
    for (const Token& t : tokens) {
        if (t.dropped)
            continue;
        if (!t.letter.isNull()) {
            out += QString(t.count, t.letter);
            continue;
        }
        // Letters must be quoted to stay text; a quote is always doubled.
        bool quoted = false;
        for (QChar c : t.text) {
            if (c.isLetter() && !quoted) {
                out += u'\'';
                quoted = true;
            } else if (!c.isLetter() && c != u'\'' && quoted) {
                out += u'\'';
                quoted = false;
            }
            out += c == u'\'' ? QStringLiteral("''") : QString(c);
        }
        if (quoted)
            out += u'\'';
    }
    return out;
}

// Clocks format the same few pictures every second: each is taken apart once.
const QList<Token>& tokensOf(const QString& picture, QStringView letters)
{
    struct Known {
        bool made { false };
        QString picture;
        QStringView letters;
        QList<Token> tokens;
    };
    thread_local std::array<Known, 8> known;
    thread_local std::size_t next = 0;
    for (const Known& k : known) {
        if (k.made && k.letters == letters && k.picture == picture)
            return k.tokens;
    }
    Known& k = known[next];
    next = (next + 1) % known.size();
    k = Known { true, picture, letters, tokenize(picture, letters) };
    return k.tokens;
}

// Written straight into the text rather than through a temporary.
void appendNumber(QString& out, int value, int count)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    if (count >= 2 && end - digits < 2)
        out += u'0';
    out += QLatin1StringView(digits, end - digits);
}

// Removes literal text that only surrounded a dropped field.
void dropWithSurroundings(QList<Token>& tokens, qsizetype i, QStringView junk)
{
    auto isJunk = [&](const Token& t) {
        if (!t.letter.isNull() || t.dropped)
            return false;
        for (QChar c : t.text) {
            if (!junk.contains(c))
                return false;
        }
        return true;
    };
    tokens[i].dropped = true;
    if (i > 0 && isJunk(tokens.at(i - 1)))
        tokens[i - 1].dropped = true;
    if (i + 1 < tokens.size() && isJunk(tokens.at(i + 1)))
        tokens[i + 1].dropped = true;
}

} // namespace

QString formatTime(const QString& picture, const QTime& time, const LocaleInfo& locale)
{
    if (!time.isValid())
        return {};
    QString out;
    out.reserve(picture.size() + 16);
    for (const Token& t : tokensOf(picture, u"hHmst")) {
        switch (t.letter.unicode()) {
        case 0:
            out += t.text;
            break;
        case 'h':
            appendNumber(out, time.hour() % 12 == 0 ? 12 : time.hour() % 12, t.count);
            break;
        case 'H':
            appendNumber(out, time.hour(), t.count);
            break;
        case 'm':
            appendNumber(out, time.minute(), t.count);
            break;
        case 's':
            appendNumber(out, time.second(), t.count);
            break;
        case 't': {
            const QString designator = time.hour() < 12 ? locale.amDesignator() : locale.pmDesignator();
            out += t.count == 1 ? designator.left(1) : designator;
            break;
        }
        }
    }
    return out;
}

QString formatDate(const QString& picture, const QDate& date, const LocaleInfo& locale)
{
    if (!date.isValid())
        return {};
    QString out;
    out.reserve(picture.size() + 16);
    for (const Token& t : tokensOf(picture, u"dMyg")) {
        switch (t.letter.unicode()) {
        case 0:
            out += t.text;
            break;
        case 'd':
            if (t.count <= 2)
                appendNumber(out, date.day(), t.count);
            else
                out += locale.dayName(date.dayOfWeek(), t.count == 3);
            break;
        case 'M':
            if (t.count <= 2)
                appendNumber(out, date.month(), t.count);
            else
                out += locale.monthName(date.month(), t.count == 3);
            break;
        case 'y': {
            const int year = date.year();
            if (t.count <= 2)
                appendNumber(out, qAbs(year) % 100, t.count);
            else
                out += QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
            break;
        }
        case 'g':
            break;
        }
    }
    return out;
}

bool showsSeconds(const QString& picture)
{
    const QList<Token>& tokens = tokensOf(picture, u"hHmst");
    return std::any_of(tokens.cbegin(), tokens.cend(), [](const Token& t) { return t.letter == u's'; });
}

QString withoutSeconds(const QString& picture)
{
    // Asked every second for the clocks' hint, mostly of one picture.
    thread_local QString lastPicture, lastResult;
    thread_local bool made = false;
    if (made && picture == lastPicture)
        return lastResult;
    QList<Token> tokens = tokenize(picture, u"hHmst");
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens.at(i).letter != u's')
            continue;
        tokens[i].dropped = true;
        qsizetype j = i - 1;
        while (j >= 0 && tokens.at(j).letter.isNull())
            tokens[j--].dropped = true;
        if (j < 0) {
            // Seconds come first: the separator after them goes instead.
            for (j = i + 1; j < tokens.size() && tokens.at(j).letter.isNull(); ++j)
                tokens[j].dropped = true;
        }
    }
    lastPicture = picture;
    lastResult = serialize(tokens);
    made = true;
    return lastResult;
}

QString fromQtFormat(const QString& qtFormat)
{
    QList<Token> tokens = tokenize(qtFormat, u"hHmszaAPptdMy");
    // Qt reads "AP"/"ap" as one marker; the tokenizer saw two letters.
    bool hasAmPm = false;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        Token& t = tokens[i];
        if (t.letter == u'a' || t.letter == u'A') {
            hasAmPm = true;
            if (i + 1 < tokens.size() && (tokens.at(i + 1).letter == u'p' || tokens.at(i + 1).letter == u'P'))
                tokens[i + 1].dropped = true;
        }
    }
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        Token& t = tokens[i];
        if (t.dropped || t.letter.isNull())
            continue;
        switch (t.letter.unicode()) {
        case 'h':
            t.letter = hasAmPm ? QChar(u'h') : QChar(u'H');
            t.count = qMin(t.count, 2);
            break;
        case 'H':
        case 'm':
        case 's':
            t.count = qMin(t.count, 2);
            break;
        case 'a':
        case 'A':
            t.letter = u't';
            t.count = 2;
            break;
        case 'z':
        case 't':
            dropWithSurroundings(tokens, i, u" ()[].,");
            break;
        case 'p':
        case 'P':
            // A lone p is plain text in Qt's language.
            t = Token { QChar(), 0, QString(t.count, t.letter) };
            break;
        case 'd':
        case 'M':
            t.count = qMin(t.count, 4);
            break;
        case 'y':
            t.count = t.count >= 3 ? 4 : 2;
            break;
        }
    }
    return serialize(tokens);
}

} // namespace tolm::platform::picture
