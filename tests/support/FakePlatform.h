#pragma once

// Test doubles for every platform service, header-only. Typical use:
//
//     tolm::test::FakePlatform fake;
//     fake.drives.add("c:\\", tolm::platform::DriveFixed, 1000 * 1024, 250 * 1024, "SISTEMA", "FAT32");
//     tolm::platform::ScopedServices use(fake.services());
//     ... code under test calls tolm::platform::services() ...
//     EXPECT_EQ(fake.shell.launches.size(), 1);
//
// With them in place no dialog or message box ever opens, no URL leaves the
// process and the clock stands still.
//
// Each fake is a plain struct whose public members are its state; set them
// before the code under test runs and read them afterwards.

#include "platform/Platform.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QMap>
#include <QStringList>
#include <functional>
#include <optional>

namespace tolm::test {

// Records every open request, and every other request as a line in
// `intents` ("openFolder d:\", "showInFileManager /a/b.txt | /a");
// `result` is what each call answers.
struct FakeShell : platform::Shell {
    struct Launch {
        QString command;
        QString parameters;
        QString directory;
        platform::ShowState show { platform::ShowState::Normal };
    };
    QList<Launch> launches;
    QStringList intents;
    platform::ShellResult result { platform::ShellResult::success() };

    platform::ShellResult open(const QString& command, const QString& parameters, const QString& directory,
        platform::ShowState show) override
    {
        launches.append({ command, parameters, directory, show });
        return result;
    }
    platform::ShellResult showInFileManager(const QString& path, const QString& folder) override
    {
        return record("showInFileManager " + path + " | " + folder);
    }
    platform::ShellResult openFolder(const QString& path) override { return record("openFolder " + path); }
    platform::ShellResult openDateTimeSettings() override { return record("openDateTimeSettings"); }
    platform::ShellResult openRegionalSettings() override { return record("openRegionalSettings"); }
    platform::ShellResult record(const QString& intent)
    {
        intents.append(intent);
        return result;
    }
};

// Drives with exact figures. Roots are matched ignoring case and a missing
// trailing backslash ("C:" finds "c:\"); an unknown root has type 1 and no
// volume or sizes. A drive with `answers` false has a type but no medium.
struct FakeDrives : platform::Drives {
    struct Drive {
        QString root;
        int type { platform::DriveFixed };
        platform::DiskSpace space;
        QString label;
        QString fileSystem { QStringLiteral("FAT32") };
        bool answers { true };
        quint32 flags { 0 };
    };
    QList<Drive> drives;

    Drive& add(const QString& root, int type, quint64 totalBytes, quint64 freeBytes,
        const QString& label = {}, const QString& fileSystem = QStringLiteral("FAT32"))
    {
        drives.append({ root, type, { totalBytes, freeBytes, freeBytes }, label, fileSystem, true, 0 });
        return drives.last();
    }

    static QString key(QString root)
    {
        root = root.toLower();
        if (!root.endsWith(u'\\'))
            root += u'\\';
        return root;
    }
    const Drive* find(const QString& root) const
    {
        for (const Drive& d : drives) {
            if (key(d.root) == key(root))
                return &d;
        }
        return nullptr;
    }

    QStringList logicalDriveStrings() override
    {
        QStringList roots;
        for (const Drive& d : drives)
            roots << d.root;
        return roots;
    }
    int driveType(const QString& root) override
    {
        const Drive* d = find(root);
        return d ? d->type : platform::DriveNoRootDir;
    }
    std::optional<platform::VolumeInfo> volumeInformation(const QString& root) override
    {
        const Drive* d = find(root);
        if (!d || !d->answers)
            return std::nullopt;
        return platform::VolumeInfo { d->label, d->fileSystem, d->flags };
    }
    std::optional<platform::DiskSpace> diskFreeSpace(const QString& path) override
    {
        const Drive* d = find(path);
        if (!d || !d->answers)
            return std::nullopt;
        return d->space;
    }
    QString localPath(const QString& path) override { return path; }
};

// Memory figures as set; `available` false makes the query fail.
struct FakeMemory : platform::Memory {
    platform::MemoryStatus figures { 50, 64ull << 20, 32ull << 20, 128ull << 20, 96ull << 20 };
    bool available { true };
    std::optional<platform::MemoryStatus> status() override
    {
        if (!available)
            return std::nullopt;
        return figures;
    }
};

// An in-memory registry key. `failWrites` makes every write fail (and store
// nothing), as an unwritable file would.
struct FakeSettings : platform::Settings {
    QMap<QString, QString> values; // "section/name" -> text
    bool failWrites { false };
    int writes { 0 };

    std::optional<QString> readString(const QString& section, const QString& name) override
    {
        const auto it = values.constFind(section + u'/' + name);
        if (it == values.constEnd())
            return std::nullopt;
        return *it;
    }
    bool writeString(const QString& section, const QString& name, const QString& value) override
    {
        if (failWrites)
            return false;
        ++writes;
        values.insert(section + u'/' + name, value);
        return true;
    }
};

// A fixed Spanish (Spain) locale: "H:mm:ss", "dd/MM/yyyy",
// "dddd, d' de 'MMMM' de 'yyyy", thousands ".", decimal ",". Every member
// can be changed by a test (e.g. thousands = "," for a comma locale).
struct FakeLocale : platform::LocaleInfo {
    QStringList months { "enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto",
        "septiembre", "octubre", "noviembre", "diciembre" };
    QStringList shortMonths { "ene", "feb", "mar", "abr", "may", "jun", "jul", "ago", "sep", "oct", "nov",
        "dic" };
    // Monday first, as QDate::dayOfWeek counts.
    QStringList days { "lunes", "martes", "miércoles", "jueves", "viernes", "sábado", "domingo" };
    QStringList shortDays { "lun", "mar", "mié", "jue", "vie", "sáb", "dom" };
    QString am { QStringLiteral("a.m.") };
    QString pm { QStringLiteral("p.m.") };
    QString thousands { QStringLiteral(".") };
    QString decimal { QStringLiteral(",") };
    QString time { QStringLiteral("H:mm:ss") };
    QString shortDate { QStringLiteral("dd/MM/yyyy") };
    QString longDate { QStringLiteral("dddd, d' de 'MMMM' de 'yyyy") };

    QString monthName(int month, bool abbreviated) const override
    {
        return (abbreviated ? shortMonths : months).value(month - 1);
    }
    QString dayName(int dayOfWeek, bool abbreviated) const override
    {
        return (abbreviated ? shortDays : days).value(dayOfWeek - 1);
    }
    QString amDesignator() const override { return am; }
    QString pmDesignator() const override { return pm; }
    QString thousandsSeparator() const override { return thousands; }
    QString decimalSeparator() const override { return decimal; }
    QString timeFormat() const override { return time; }
    QString shortDateFormat() const override { return shortDate; }
    QString longDateFormat() const override { return longDate; }
};

// Icons by file name. `files[name]` lists the icons a file holds;
// `associations[name]` is what associatedIcon answers (the default answer
// is a null image with the file itself and index 0, as when nothing is found).
struct FakeIcons : platform::Icons {
    QHash<QString, QList<QImage>> files;
    QHash<QString, platform::AssociatedIcon> associations;
    QStringList requests; // every file asked about, in order

    // A solid 32 x 32 icon, handy for telling icons apart by a pixel.
    static QImage solid(QRgb color)
    {
        QImage image(iconSize, iconSize, QImage::Format_ARGB32);
        image.fill(color);
        return image;
    }

    int iconCount(const QString& file) override
    {
        requests << file;
        return int(files.value(file).size());
    }
    QImage extractIcon(const QString& file, int index) override
    {
        requests << file;
        return files.value(file).value(index);
    }
    platform::AssociatedIcon associatedIcon(const QString& file) override
    {
        requests << file;
        return associations.value(file, platform::AssociatedIcon { {}, file, 0 });
    }

    // Drawable sources: `sources[name]` lists a file's icons by index,
    // `associatedSources[name]` answers for a command; none unless set.
    QHash<QString, QList<QIcon>> sources;
    QHash<QString, QIcon> associatedSources;
    QStringList sourceRequests; // every source lookup, in order

    QIcon iconSource(const QString& file, int index) override
    {
        sourceRequests << file;
        return sources.value(file).value(index);
    }
    QIcon associatedIconSource(const QString& file) override
    {
        sourceRequests << file;
        return associatedSources.value(file);
    }
};

// Answers the choosers as set and records what each was asked. An empty
// answer (std::nullopt, the default) is a cancelled dialog. `whileOpen`,
// when set, runs while a chooser is open, as whatever the user does there
// would; `applied`, when set, is pressed through a font dialog's Apply button
// before it answers.
struct FakeChoosers : platform::Choosers {
    struct FileRequest {
        QString title;
        QString filters;
        QString folder;
    };
    QList<FileRequest> fileRequests;
    std::optional<QString> file;
    QList<QFont> fontRequests; // the font each font dialog started from
    std::optional<QFont> font;
    std::optional<QFont> applied;
    QList<QColor> colorRequests; // the colour each colour dialog started from
    std::optional<QColor> color;
    std::function<void()> whileOpen;

    std::optional<QString> chooseFile(
        const QString& title, const QString& filters, const QString& folder) override
    {
        fileRequests.append({ title, filters, folder });
        if (whileOpen)
            whileOpen();
        return file;
    }
    std::optional<QFont> chooseFont(const QFont& initial, const FontApplied& apply) override
    {
        fontRequests.append(initial);
        if (whileOpen)
            whileOpen();
        if (applied && apply)
            apply(*applied);
        return font;
    }
    std::optional<QColor> chooseColor(const QColor& initial) override
    {
        colorRequests.append(initial);
        if (whileOpen)
            whileOpen();
        return color;
    }
};

// Records every box; each question answers `answer`.
struct FakeMessageBoxes : platform::MessageBoxes {
    struct Box {
        QString caption;
        QString text;
        bool question { false };
        Kind kind { Kind::Warning };
    };
    QList<Box> boxes;
    platform::Answer answer { platform::Answer::Ok };
    // Runs while a box is up, as the event loop would.
    std::function<void()> whileOpen;

    void notice(const QString& caption, const QString& text, Kind kind) override
    {
        boxes.append({ caption, text, false, kind });
        if (whileOpen)
            whileOpen();
    }
    platform::Answer question(const QString& caption, const QString& text) override
    {
        boxes.append({ caption, text, true, Kind::Warning });
        if (whileOpen)
            whileOpen();
        return answer;
    }
};

// Records every URL; each request answers `result`.
struct FakeUrlOpener : platform::UrlOpener {
    QList<QUrl> opened;
    bool result { true };

    bool openUrl(const QUrl& url) override
    {
        opened.append(url);
        return result;
    }
};

// A clock that stands still at `time` until a test moves it: Wednesday
// 24 September 2025, 10:15:07 local time unless set.
struct FakeClock : platform::Clock {
    QDateTime time { QDate(2025, 9, 24), QTime(10, 15, 7) };

    // Runs with `time` unless a test sets it apart, as when the time is set.
    std::optional<qint64> steady;

    QDateTime now() override { return time; }
    qint64 steadyMs() override { return steady ? *steady : time.toMSecsSinceEpoch(); }
};

// All of the above together.
struct FakePlatform {
    FakeShell shell;
    FakeDrives drives;
    FakeMemory memory;
    FakeSettings settings;
    FakeLocale locale;
    FakeIcons icons;
    FakeChoosers choosers;
    FakeMessageBoxes messageBoxes;
    FakeUrlOpener urlOpener;
    FakeClock clock;

    platform::Services services()
    {
        return { &shell, &drives, &memory, &settings, &locale, &icons, &choosers, &messageBoxes, &urlOpener,
            &clock };
    }
};

} // namespace tolm::test
