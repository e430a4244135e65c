#pragma once

#include "items/ItemReports.h"
#include "store/Components.h"

#include <QAbstractButton>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

class QMenu;
class QPainter;

namespace tolm::items {
class CoverIndex;
class ItemHost;
class ItemKind;
} // namespace tolm::items

// One shelf item: a launcher, a folder, a clock, a drive tile, a memory tile
// or a resources tile. The kind (`Clase`) decides how the shared fields are
// used; the size format (`Tipo`) decides the pixel size and the layout.
class TSpButton : public QAbstractButton {
    Q_OBJECT
public:
    using Clase = tolm::store::Clase;

    // Bits of `Tag` for tiles: a part the clock leaves out, or a tile shown
    // as text only.
    static constexpr int kTagNoSeconds = 1;
    static constexpr int kTagTextClock = 2;
    static constexpr int kTagNoTime = 4;
    static constexpr int kTagNoDate = 8;
    static constexpr int kClockOptionMask = kTagNoSeconds | kTagTextClock | kTagNoTime | kTagNoDate;
    // A timer-driven item lying partly under another control, as `Tag` stores it.
    static constexpr int kTagCovered = 16;
    // A drive tile's type code, as its last reading found it.
    static constexpr int kTagDriveTypeShift = 5;
    static constexpr int kTagDriveTypeMask = 7 << kTagDriveTypeShift;
    // Never stored: a `Tag` read with this bit loses it when written.
    static constexpr int kTagTimerRepaint = 32768;

    // What a tile's `tag1` holds instead of the figure its picture shows:
    // the surface no longer shows the picture, so the next one is drawn whole;
    // or what the picture shows changed (a new drive, a new format).
    static constexpr int kDrawWhole = -1;
    static constexpr int kSourceChanged = -2;

    // `tag2` of drive and memory tiles: the refresh period in seconds above
    // the ticks left until the next refresh.
    static constexpr int kCountdownMask = 0xFF;
    static constexpr int kPeriodShift = 8;

    explicit TSpButton(QWidget* parent = nullptr);
    ~TSpButton() override;

    // Published fields.
    int Tipo() const { return m_d.tipo; }
    void setTipo(int tipo);
    Clase clase() const { return static_cast<Clase>(m_d.clase); }
    int claseValue() const { return m_d.clase; }
    void setClase(Clase clase) { m_d.clase = static_cast<std::uint8_t>(clase); }
    QString Comando() const { return QString::fromStdString(m_d.comando); }
    bool comandoIs(const QString& text) const { return holds(m_d.comando, text); }
    void setComando(const QString& text) { storeText(m_d.comando, text); }
    QString Directorio() const { return QString::fromStdString(m_d.directorio); }
    void setDirectorio(const QString& text) { m_d.directorio = text.toStdString(); }
    QString FichIcono() const { return QString::fromStdString(m_d.fichIcono); }
    void setFichIcono(const QString& text) { m_d.fichIcono = text.toStdString(); }
    QString Param() const { return QString::fromStdString(m_d.param); }
    void setParam(const QString& text) { m_d.param = text.toStdString(); }
    int Run() const { return static_cast<int>(m_d.run); }
    void setRun(int state) { m_d.run = static_cast<tolm::store::WindowState>(state); }
    bool Autorun() const { return m_d.autorun; }
    void setAutorun(bool on) { m_d.autorun = on; }
    // The raw stored fields whose meaning depends on the kind; everything
    // else uses the accessors by meaning below.
    int tag1() const { return m_d.tag1; }
    void settag1(int value) { m_d.tag1 = value; }
    int tag2() const { return m_d.tag2; }
    void settag2(int value) { m_d.tag2 = value; }
    int Tag() const { return m_d.tag; }
    void setTag(int value) { m_d.tag = value; }
    // Every stored field as it is, to compare with without copying a text.
    const tolm::store::SpButtonState& storedFields() const { return m_d; }
    // Whether a stored text holds `text`.
    static bool holds(const std::string& stored, const QString& text)
    {
        return QAnyStringView::equal(QUtf8StringView(stored.data(), qsizetype(stored.size())), text);
    }
    // Stores `text` when it differs, in the room the stored text already has.
    static void storeText(std::string& stored, const QString& text)
    {
        if (holds(stored, text))
            return;
        const QByteArray utf8 = text.toUtf8();
        stored.assign(utf8.constData(), std::size_t(utf8.size()));
    }

    // `Tag`: a launcher's icon number in its icon file.
    int iconIndex() const { return m_d.tag; }
    void setIconIndex(int index) { m_d.tag = index; }
    // `Tag`: whether a folder's window is open (and is stored open).
    bool folderOpen() const { return m_d.tag != 0; }
    void setFolderOpen(bool open) { m_d.tag = open ? 1 : 0; }
    // `Tag`: a clock's options, kTagNoSeconds ... kTagNoDate.
    int clockOptions() const { return m_d.tag & kClockOptionMask; }
    void setClockOptions(int options)
    {
        m_d.tag = (m_d.tag & ~kClockOptionMask) | (options & kClockOptionMask);
    }
    void setClockOption(int option, bool set)
    {
        setClockOptions(set ? clockOptions() | option : clockOptions() & ~option);
    }
    // `Tag`: a tile shown as its text alone, without a picture.
    bool showsTextOnly() const { return m_d.tag & kTagTextClock; }
    // `Tag`: a drive tile's type code.
    int driveType() const { return (m_d.tag & kTagDriveTypeMask) >> kTagDriveTypeShift; }
    void setDriveType(int type) { m_d.tag = (m_d.tag & ~kTagDriveTypeMask) | (type << kTagDriveTypeShift); }

    // `tag1`: whether a launcher or a folder shows its picture.
    bool showsIcon() const { return m_d.tag1 != 0; }
    void setShowsIcon(bool show) { m_d.tag1 = show ? 1 : 0; }
    // `tag1` of a tile: the figure its picture shows (a drive's free
    // kilobytes), or a sentinel when the picture must be drawn whole.
    bool pictureCurrent() const { return m_d.tag1 >= 0; }
    int figureShown() const { return m_d.tag1; }
    void setFigureShown(int figure) { m_d.tag1 = figure; }
    void markDrawWhole() { m_d.tag1 = kDrawWhole; }
    void markSourceChanged() { m_d.tag1 = kSourceChanged; }
    // `tag1` and `tag2` of a clock: the hour and minute its dial shows.
    int hourShown() const { return m_d.tag1; }
    int minuteShown() const { return m_d.tag2; }
    void setTimeShown(int hour, int minute)
    {
        m_d.tag1 = hour;
        m_d.tag2 = minute;
    }
    // `tag2` of drive and memory tiles. A new period starts its countdown at
    // 0, so the next tick refreshes the tile.
    int refreshPeriod() const { return (m_d.tag2 >> kPeriodShift) & 0xFF; }
    void setRefreshPeriod(int seconds) { m_d.tag2 = seconds << kPeriodShift; }
    // Anything above the countdown: a stored period of 0 with other bits
    // set still refreshes.
    bool hasRefreshPeriod() const { return (m_d.tag2 & ~kCountdownMask) != 0; }
    int countdown() const { return m_d.tag2 & kCountdownMask; }
    void setCountdown(int ticks) { m_d.tag2 = (m_d.tag2 & ~kCountdownMask) | ticks; }

    QString Caption() const { return text(); }
    void setCaption(const QString& caption);
    QString Hint() const { return QString::fromStdString(m_d.hint); }
    void setHint(const QString& hint);
    int Margin() const { return m_d.margin; }
    void setMargin(int margin);
    tolm::store::ButtonLayout Layout() const { return m_d.layout; }

    // The item's own font, meaningful while it does not follow its window's.
    const tolm::store::FontState& ownFont() const { return m_d.font; }
    void setOwnFont(const tolm::store::FontState& font);
    bool ParentFont() const { return m_d.parentFont; }
    void setParentFont(bool follow);
    // The font the item draws with: its own, or its window's default font.
    tolm::store::FontState effectiveFont() const;

    const QImage& Glyph() const { return m_glyph; }
    void setGlyph(const QImage& glyph);

    // The popup menu by kind, chosen by the window that holds the item.
    QMenu* popupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu* menu) { m_popupMenu = menu; }

    // Folder items: the folder window opened from this item, if any.
    QWidget* folderWindow() const { return m_folderWindow.data(); }
    void setFolderWindow(QWidget* window) { m_folderWindow = window; }

    // Drive items: the picture last drawn, so a repaint need not ask the drive again.
    QImage* pictureCache() const { return m_pictureCache.get(); }
    void createPictureCache();
    // Drive and memory items: their last reading drawn again at 2 or 3 times
    // the density, for screens of that density; null before the first one.
    // Tiles showing one reading share one drawing of it.
    using FinePicture = std::shared_ptr<const std::function<QImage(int scale)>>;
    void setFinePicture(FinePicture draw) { m_finePicture = std::move(draw); }
    QImage finePicture(int scale) const { return m_finePicture ? (*m_finePicture)(scale) : QImage(); }

    bool isSmall() const { return height() <= 20; }
    // What the item's kind makes of it.
    const tolm::items::ItemKind& kind() const;
    bool isTimerDriven() const;
    bool isLauncher() const { return clase() == Clase::Normal; }
    bool isFolder() const { return clase() == Clase::Carpeta; }
    // The window the item stands on, if it stands on a shelf window.
    tolm::items::ItemHost* host() const;

    // Copies what a working copy or a paste needs; never the position, the
    // menu, the folder window or the picture cache.
    void Assign(const TSpButton& source);

    // Whether part of the item lies under another control of its window.
    bool isCovered() const;
    // The same as last found; a covered item is refreshed whole.
    bool coveredFlag() const { return m_covered; }
    void setCoveredFlag(bool covered) { m_covered = covered; }
    void updateCoveredFlag();
    // The same from an index of the window's children, for many items at once.
    void updateCoveredFlag(const tolm::items::CoverIndex& index);

    // Record form, as stored in a shelf file. `menuReference` is written as
    // the PopupMenu identifier ("Principal.MenuBoton").
    tolm::store::SpButtonState toState(const std::string& menuReference) const;
    void fromState(const tolm::store::SpButtonState& state);

    // Rebuilds the picture from the current fields.
    void refreshGlyph();
    // Makes the item a launcher for the file at `path`.
    void setFromFile(const QString& path);

    // Activation, the same for a click, Enter and autorun.
    void activate();

    // What a screen reader calls the item: its caption, or for a tile its
    // kind and the figure it shows ("Reloj: 10:42").
    QString accessibleLabel() const;
    // The figure a tile's last refresh found, in words.
    const QString& liveFigure() const { return m_liveFigure; }
    void setLiveFigure(const QString& figure);
    // Tells screen readers the name changed, when it did since last told.
    void announceLabelChange();

signals:
    // Activation asks the item's window for what only a window can do.
    void folderOpenRequested(TSpButton* item);
    void calendarRequested();
    void propertiesRequested(TSpButton* item);
    // A refresh of a drive or memory tile that is the properties dialog's
    // working copy, with what it found.
    void driveRefreshed(const tolm::items::DriveReport& report);
    void memoryRefreshed(const tolm::items::MemoryReport& report);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

    // Pictures
public:
    // The item text drawing: `Comando` beside or below the 36 x 36 picture.
    void drawItemText();
    // The kind's own picture (clock, drive, memory), drawn on the item's surface.
    void runPicture();
    // The timer's refresh: the picture is redrawn over the surface now and
    // reaches the screen with the next paint of its window, together with
    // every other item refreshed by the same tick. An item whose surface is
    // not current is painted whole at once instead. Hidden items are left.
    void refreshInPlace();
    // The timer's refresh of a tile shown as text only: its texts are made
    // again, and a caption that changed is painted with its window.
    void refreshText();
    // Set while the timer's refresh repaints the item: a tile whose picture
    // is current then draws only what changed.
    bool timerRepaint() const { return m_timerRepaint; }
    void setTimerRepaint(bool on) { m_timerRepaint = on; }
    // Puts a drive or memory picture where the item's size and layout want it.
    void placePicture(const QImage& picture);
    // The item as last drawn; in-place repaints draw only the picture onto it.
    QImage& surface() { return m_surface; }

private:
    void paintWhole();
    void paintButtonFace();
    // A tile shown as text only: its button face and overlay, drawn or
    // copied from a tile that looked the same.
    void paintTextFace();
    void paintOverlay();
    // Whether the picture's icon is drawn from its source rather than from
    // the stored glyph; looks the source up when the fields it comes from changed.
    bool drawsIconFromSource();
    void paintIconFromSource(QPainter& painter);
    // Draws the kind's picture again over its place on the surface, at the
    // pixel ratio of the device painted on, when that is finer than 1x.
    void paintSharpPicture(QPainter& painter);
    QImage m_surface;
    // Where the last full paint left room for the icon drawn from its source;
    // empty when the stored glyph holds the icon.
    QRect m_sourceIconRect;
    // Where the last full paint put the kind's own picture (a folder, a
    // clock face); empty when it drew none.
    QRect m_sharpPictureRect;
    // Set while a picture drawn by refreshInPlace waits for its paint.
    bool m_pictureWaits { false };
    // Set while a caption changed by refreshText waits for its paint.
    bool m_textFresh { false };

private:
    tolm::store::SpButtonState m_d;
    QImage m_glyph;
    // Runtime state that toState() folds into `Tag`.
    bool m_covered { false };
    bool m_timerRepaint { false };
    QMenu* m_popupMenu { nullptr };
    QPointer<QWidget> m_folderWindow;
    std::unique_ptr<QImage> m_pictureCache;
    FinePicture m_finePicture;
    QString m_liveFigure;
    QString m_announcedLabel;
    // Whether the label may differ from the one last announced.
    bool m_labelMayChange { true };
    // A launcher's icon source, resolved once per icon file, index, command
    // and icon theme rather than on every paint, with its last drawing: a
    // new theme finds each launcher's icon in it.
    struct IconSource {
        std::string file;
        int index { 0 };
        std::string command;
        QString theme;
        bool resolved { false };
        QIcon icon;
        QPixmap pixmap; // drawn for pixmapSize at pixmapRatio
        QSize pixmapSize;
        qreal pixmapRatio { 0 };
    };
    IconSource m_iconSource;
};
