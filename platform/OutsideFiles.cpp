#include "platform/OutsideFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <cstring>

namespace tolm::platform {

namespace {

std::filesystem::path nativePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

FileBytes bytesOf(std::optional<std::vector<std::uint8_t>>&& read, files::Refusal&& refusal)
{
    if (!read)
        return { {}, std::move(refusal) };
    return { QByteArray(reinterpret_cast<const char*>(read->data()), qsizetype(read->size())), std::nullopt };
}

// The context the refusals' texts are translated in.
struct OutsideFiles {
    Q_DECLARE_TR_FUNCTIONS(OutsideFiles)
};

QString typeText(files::FileType type)
{
    switch (type) {
    case files::FileType::Directory:
        return OutsideFiles::tr("una carpeta");
    case files::FileType::Fifo:
        return OutsideFiles::tr("una FIFO");
    case files::FileType::CharacterDevice:
    case files::FileType::BlockDevice:
        return OutsideFiles::tr("un dispositivo");
    case files::FileType::Socket:
        return OutsideFiles::tr("un socket");
    case files::FileType::Regular:
    case files::FileType::Other:
        break;
    }
    return OutsideFiles::tr("algo que no se lee");
}

} // namespace

FileBytes readOutsideFile(const QString& path, const files::FileKind& kind)
{
    files::Refusal refusal;
    auto read = files::readFile(nativePath(path), kind, &refusal);
    return bytesOf(std::move(read), std::move(refusal));
}

FileBytes readOutsideFileHead(const QString& path, std::size_t count)
{
    files::Refusal refusal;
    auto read = files::readFileHead(nativePath(path), count, &refusal);
    return bytesOf(std::move(read), std::move(refusal));
}

std::optional<files::Refusal> outsideFileRefusal(const QString& path, const files::FileKind& kind)
{
    return files::refusalFor(nativePath(path), kind);
}

QString refusalReason(const files::Refusal& refusal)
{
    using Reason = files::Refusal::Reason;
    const QLocale locale;
    switch (refusal.reason) {
    case Reason::NotRegular:
        return OutsideFiles::tr("no es un archivo normal, sino %1").arg(typeText(refusal.type));
    case Reason::TooLarge:
        return refusal.grew ? OutsideFiles::tr("creció al leerlo por encima de %1 bytes, lo más que se lee")
                                  .arg(locale.toString(qulonglong(refusal.maxBytes)))
                            : OutsideFiles::tr("ocupa %1 bytes, y se leen como mucho %2")
                                  .arg(locale.toString(qulonglong(refusal.size)),
                                      locale.toString(qulonglong(refusal.maxBytes)));
    case Reason::CannotOpen:
        return OutsideFiles::tr("no se puede abrir (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(refusal.error)));
    case Reason::CannotRead:
        break;
    }
    return OutsideFiles::tr("no se puede leer (%1)")
        .arg(QString::fromLocal8Bit(std::strerror(refusal.error)));
}

} // namespace tolm::platform
