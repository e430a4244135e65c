#include "app/NoticesAfterWindows.h"

#include "app/Log.h"

#include <QStringList>

namespace tolm::app {

namespace {

platform::Services standingIn(platform::MessageBoxes* boxes)
{
    platform::Services services;
    services.messageBoxes = boxes;
    return services;
}

} // namespace

NoticesAfterWindows::NoticesAfterWindows()
    : m_boxes(platform::services().messageBoxes)
    , m_standIn(std::make_unique<platform::ScopedServices>(standingIn(this)))
{ }

NoticesAfterWindows::~NoticesAfterWindows()
{
    // The program ends before its windows were painted: no box then, but
    // nothing goes unsaid either.
    m_standIn.reset();
    for (const Held& one : std::as_const(m_held))
        qCWarning(lcApp, "%s", qPrintable(one.text));
}

void NoticesAfterWindows::notice(const QString& caption, const QString& text, Kind kind)
{
    if (!m_standIn) {
        m_boxes->notice(caption, text, kind);
        return;
    }
    m_held.append({ caption, text, kind });
}

platform::Answer NoticesAfterWindows::question(const QString& caption, const QString& text)
{
    return m_boxes->question(caption, text);
}

void NoticesAfterWindows::release()
{
    m_standIn.reset();
    const QList<Held> held = std::exchange(m_held, {});
    if (held.isEmpty())
        return;
    if (held.size() == 1) {
        m_boxes->notice(held[0].caption, held[0].text, held[0].kind);
        return;
    }
    // Each notice keeps its caption as its first line, where it says more
    // than the program's name; two blank lines stand between notices, as a
    // notice may hold one between its own lines.
    QStringList parts;
    Kind kind = Kind::Warning;
    for (const Held& one : held) {
        parts.append(one.caption == u"Tolm" ? one.text : one.caption + u'\n' + one.text);
        if (one.kind == Kind::Critical)
            kind = Kind::Critical;
    }
    m_boxes->notice(QStringLiteral("Tolm"), parts.join(QStringLiteral("\n\n\n")), kind);
}

} // namespace tolm::app
