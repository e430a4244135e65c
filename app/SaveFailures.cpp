#include "app/SaveFailures.h"

#include "app/Messages.h"

namespace tolm::app {

namespace {

// Only the GUI thread saves shelves.
SaveFailures* s_innermost = nullptr;
SaveFailures* s_outermost = nullptr;

QString boxText(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n'))
        + QStringLiteral("\n\nLo que contienen las ventanas sigue abierto; "
                         "vuelva a guardar cuando se pueda escribir el fichero.");
}

} // namespace

SaveFailures::SaveFailures()
    : m_outer(s_innermost)
{
    s_innermost = this;
    if (!s_outermost)
        s_outermost = this;
}

SaveFailures::~SaveFailures()
{
    s_innermost = m_outer;
    if (s_outermost != this)
        return;
    s_outermost = nullptr;
    if (!m_lines.isEmpty())
        showError(boxText(m_lines));
}

void SaveFailures::add(const QString& line)
{
    if (s_outermost)
        s_outermost->m_lines.append(line);
    else
        showError(boxText({ line }));
}

QString SaveFailures::saveFailedLine(const QString& file, const QString& reason)
{
    return QStringLiteral("No se puede guardar el fichero %1: %2").arg(file, reason);
}

QString SaveFailures::reason(const std::string& storeError)
{
    const QString text = QString::fromStdString(storeError);
    const qsizetype colon = text.lastIndexOf(QLatin1String(": "));
    return colon < 0 ? text : text.mid(colon + 2);
}

bool SaveFailures::any() const
{
    return !(s_outermost ? s_outermost->m_lines : m_lines).isEmpty();
}

QString SaveFailures::take()
{
    SaveFailures* holder = s_outermost ? s_outermost : this;
    const QString text = holder->m_lines.join(QLatin1Char('\n'));
    holder->m_lines.clear();
    return text;
}

} // namespace tolm::app
