#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

class TTimerSpeedButton;

// Two auto-repeating arrow buttons stacked on each other, sharing one pixel
// row, that report up and down clicks.
class TCSpinButton : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMinWidth = 15;

    explicit TCSpinButton(QWidget* parent = nullptr);

    TTimerSpeedButton* upButton() const { return m_upButton; }
    TTimerSpeedButton* downButton() const { return m_downButton; }
    TTimerSpeedButton* focusedButton() const { return m_focusedButton; }

    // A null image gives back the built-in arrow.
    QImage UpGlyph() const;
    void SetUpGlyph(const QImage& glyph);
    QImage DownGlyph() const;
    void SetDownGlyph(const QImage& glyph);

    QWidget* FocusControl() const { return m_focusControl; }
    void SetFocusControl(QWidget* control) { m_focusControl = control; }

    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool on);

    void SetFocusBtn(TTimerSpeedButton* button);

    // Widens below the minimum and places the two halves; returns the adjusted size.
    QSize AdjustSize(QSize size);

    // The built-in 9 x 6 arrows: black on olive, olive being transparent.
    static QImage builtInGlyph(bool up);

    QSize sizeHint() const override { return { 20, 25 }; }

signals:
    void OnUpClick();
    void OnDownClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void BtnMouseDown(TTimerSpeedButton* sender, Qt::MouseButton button);
    void BtnClick(TTimerSpeedButton* sender);
    bool canTakeFocus() const;

    TTimerSpeedButton* m_upButton { nullptr };
    TTimerSpeedButton* m_downButton { nullptr };
    TTimerSpeedButton* m_focusedButton { nullptr };
    QPointer<QWidget> m_focusControl;
    bool m_tabStop { false };
};
