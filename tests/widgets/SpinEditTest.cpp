#include "widgets/TCSpinButton.h"
#include "widgets/TCSpinEdit.h"
#include "widgets/TTimerSpeedButton.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <climits>
#include <gtest/gtest.h>

namespace {

class CountingSpinEdit : public TCSpinEdit {
public:
    int beeps { 0 };

protected:
    void Beep() override { ++beeps; }
};

struct SpinEdit : ::testing::Test {
    SpinEdit()
    {
        window.resize(200, 100);
        edit = new CountingSpinEdit;
        edit->setParent(&window);
        other = new QLineEdit(&window);
        other->move(0, 50);
        edit->setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
        window.show();
        edit->setFocus();
        QApplication::setActiveWindow(&window);
    }
    void leaveField() { other->setFocus(Qt::TabFocusReason); }
    void type(const QString& s)
    {
        edit->setFocus();
        QTest::keyClicks(edit, s);
    }
    QWidget window;
    CountingSpinEdit* edit { nullptr };
    QLineEdit* other { nullptr };
};

// Fires the repeat timer at once instead of waiting for it.
void tick(QTimer* timer)
{
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
}

} // namespace

TEST_F(SpinEdit, WithoutBoundsNothingIsClamped)
{
    EXPECT_EQ(edit->text(), "0");
    edit->SetValue(-5);
    EXPECT_EQ(edit->Value(), -5);
    edit->SetValue(INT_MAX);
    edit->UpClick(); // stops at the end of the range instead of wrapping round
    EXPECT_EQ(edit->Value(), INT_MAX);
    edit->SetValue(INT_MIN + 1);
    edit->SetIncrement(5);
    edit->DownClick();
    EXPECT_EQ(edit->Value(), INT_MIN);
    edit->SetIncrement(INT_MIN);
    edit->DownClick();
    EXPECT_EQ(edit->Value(), 0);
    edit->DownClick(); // 0 - INT_MIN does not fit either
    EXPECT_EQ(edit->Value(), INT_MAX);
}

TEST_F(SpinEdit, BoundsClampValuesButNotTyping)
{
    edit->SetMaxValue(255);
    QSignalSpy changes(edit, &TCSpinEdit::OnChange);
    edit->SetValue(300);
    EXPECT_EQ(edit->text(), "255");
    edit->SetValue(-4);
    EXPECT_EQ(edit->text(), "0");
    EXPECT_EQ(changes.count(), 2);

    edit->selectAll();
    type("999");
    EXPECT_EQ(edit->text(), "999");
    EXPECT_EQ(edit->Value(), 999);
    changes.clear();
    leaveField();
    EXPECT_EQ(edit->text(), "255");
    EXPECT_EQ(changes.count(), 1);

    changes.clear();
    edit->UpClick(); // at the top the same text is written back
    EXPECT_EQ(edit->text(), "255");
    EXPECT_EQ(changes.count(), 0);
    edit->DownClick();
    EXPECT_EQ(edit->text(), "254");
}

TEST_F(SpinEdit, TextThatIsNoNumberReadsAsTheMinimum)
{
    edit->SetMinValue(3);
    edit->SetMaxValue(9);
    edit->setText("");
    EXPECT_EQ(edit->Value(), 3);
    EXPECT_EQ(edit->text(), "3");
    edit->setText("-");
    EXPECT_EQ(edit->Value(), 3);
    EXPECT_EQ(edit->text(), "3");
}

TEST_F(SpinEdit, OnlyNumberCharactersCanBeTyped)
{
    edit->SetMaxValue(255);
    edit->setText("");
    type("a");
    type(" ");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Eacute, Qt::NoModifier);
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(edit->beeps, 4);
    EXPECT_FALSE(edit->IsValidChar(QChar(0xE9)));
    EXPECT_FALSE(edit->IsValidChar(QChar(13)));
    EXPECT_TRUE(edit->IsValidChar(QChar(8)));
    EXPECT_TRUE(edit->IsValidChar(QChar(1)));

    type("+1,5"); // a plus sign and the Spanish decimal separator pass the filter
    EXPECT_EQ(edit->text(), "+1,5");
    EXPECT_EQ(edit->beeps, 4);
    leaveField();
    EXPECT_EQ(edit->text(), "0");

    type("12"); // the focus comes back with the text selected
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "1");
}

TEST_F(SpinEdit, ArrowKeysStepByTheIncrement)
{
    edit->SetMaxValue(100);
    edit->SetIncrement(7);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->Value(), 14);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->Value(), 7);
    edit->SetIncrement(-2); // used as it is
    edit->UpClick();
    EXPECT_EQ(edit->Value(), 5);
}

TEST_F(SpinEdit, WithoutTheEditorOnlyTheArrowsChangeTheValue)
{
    edit->SetEditorEnabled(false);
    edit->setText("12");
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, "5");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "12");
    EXPECT_EQ(edit->beeps, 3);

    QApplication::clipboard()->setText("77");
    edit->selectAll();
    QTest::keySequence(edit, QKeySequence::Paste);
    QTest::keySequence(edit, QKeySequence::Cut);
    EXPECT_EQ(edit->text(), "12");
    EXPECT_EQ(QApplication::clipboard()->text(), "77");

    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "13");
    QTest::mouseClick(edit->Button()->downButton(), Qt::LeftButton);
    EXPECT_EQ(edit->text(), "12");

    edit->SetEditorEnabled(true);
    edit->selectAll();
    QTest::keySequence(edit, QKeySequence::Paste);
    EXPECT_EQ(edit->text(), "77");
}

TEST_F(SpinEdit, ReadOnlyFieldBeepsAtTheArrows)
{
    edit->setReadOnly(true);
    edit->setText("5");
    QTest::mouseClick(edit->Button()->upButton(), Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), "5");
    EXPECT_EQ(edit->beeps, 2);
}

TEST_F(SpinEdit, ArrowsSitInsideTheRightEdge)
{
    QFont small = edit->font();
    small.setPixelSize(10);
    edit->setFont(small);
    ASSERT_LE(edit->GetMinHeight(), 22);
    edit->resize(41, 22);
    // The inner area starts inside the 2-pixel edge.
    EXPECT_EQ(edit->Button()->geometry(), QRect(TCSpinEdit::kEdge + 21, TCSpinEdit::kEdge, 15, 17));

    edit->resize(41, 4);
    EXPECT_EQ(edit->height(), edit->GetMinHeight());
    const int h = QFontMetrics(small).height();
    EXPECT_EQ(edit->GetMinHeight(), h + std::min(h, QFontMetrics(QApplication::font()).height()) / 4 + 6);
}

TEST(SpinButton, HalvesShareOneRow)
{
    TCSpinButton spin;
    spin.show();
    EXPECT_EQ(spin.size(), QSize(20, 25));
    EXPECT_EQ(spin.upButton()->geometry(), QRect(0, 0, 20, 12));
    EXPECT_EQ(spin.downButton()->geometry(), QRect(0, 11, 20, 14));
    spin.resize(10, 25);
    EXPECT_EQ(spin.width(), 15);
    EXPECT_EQ(spin.downButton()->width(), 15);
}

TEST(SpinButton, BuiltInGlyphsAreBlackArrowsOnOlive)
{
    TCSpinButton spin;
    const QImage up = spin.UpGlyph();
    const QImage down = spin.DownGlyph();
    ASSERT_EQ(up.size(), QSize(9, 6));
    ASSERT_EQ(down.size(), QSize(9, 6));
    const QRgb olive = qRgb(128, 128, 0);
    EXPECT_EQ(up.pixel(0, 5), olive);
    EXPECT_EQ(down.pixel(0, 5), olive);
    auto blackIn = [](const QImage& img, int y) {
        int n = 0;
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == qRgb(0, 0, 0);
        return n;
    };
    int upRows[6], downRows[6];
    for (int y = 0; y < 6; ++y) {
        upRows[y] = blackIn(up, y);
        downRows[y] = blackIn(down, 5 - y);
    }
    // Four rows widening to a base of 7 pixels, one arrow the other's mirror.
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(upRows[y], downRows[y]) << y;
    int maxRow = 0, rows = 0;
    for (int n : upRows) {
        maxRow = std::max(maxRow, n);
        rows += n > 0;
    }
    EXPECT_EQ(maxRow, 7);
    EXPECT_EQ(rows, 4);

    QImage mine(5, 5, QImage::Format_RGB32);
    mine.fill(Qt::red);
    spin.SetUpGlyph(mine);
    EXPECT_EQ(spin.UpGlyph(), mine);
    spin.SetUpGlyph(QImage());
    EXPECT_EQ(spin.UpGlyph(), up);
}

TEST(SpinButton, KeysClickAndMoveTheFocusedButton)
{
    QWidget window;
    auto* spin = new TCSpinButton(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    QSignalSpy ups(spin, &TCSpinButton::OnUpClick);
    QSignalSpy downs(spin, &TCSpinButton::OnDownClick);

    // Without a tab stop the focused button never changes.
    spin->SetFocusBtn(spin->downButton());
    EXPECT_EQ(spin->focusedButton(), spin->upButton());

    spin->SetTabStop(true);
    spin->setFocus();
    EXPECT_TRUE(spin->upButton()->focusFrame());
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(spin->focusedButton(), spin->downButton());
    EXPECT_TRUE(spin->downButton()->focusFrame());
    EXPECT_FALSE(spin->upButton()->focusFrame());
    QTest::keyClick(spin, Qt::Key_Space);
    EXPECT_EQ(downs.count(), 2);
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Space);
    EXPECT_EQ(ups.count(), 2);
    QTest::keyClick(spin, Qt::Key_Left);
    EXPECT_EQ(ups.count() + downs.count(), 4);

    // A press on a button picks it, and a focus control takes the focus.
    auto* field = new QLineEdit(&window);
    field->show();
    spin->SetFocusControl(field);
    QTest::mouseClick(spin->downButton(), Qt::LeftButton);
    EXPECT_EQ(spin->focusedButton(), spin->downButton());
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(downs.count(), 3);
}

TEST(TimerSpeedButton, RepeatsWhileHeldOnTheButton)
{
    QWidget window;
    auto* button = new TTimerSpeedButton(&window);
    button->resize(20, 12);
    button->setAutoRepeat(true);
    window.show();
    QSignalSpy clicks(button, &TTimerSpeedButton::Click);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QTimer* timer = button->repeatTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 400);
    EXPECT_EQ(clicks.count(), 0);

    tick(timer);
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_EQ(clicks.count(), 1);
    tick(timer);
    EXPECT_EQ(clicks.count(), 2);

    // Off the button the timer keeps ticking but the clicks are suspended.
    QTest::mouseMove(button, QPoint(40, 40));
    QMouseEvent off(QEvent::MouseMove, QPointF(40, 40), button->mapToGlobal(QPointF(40, 40)), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &off);
    EXPECT_FALSE(button->isShownPressed());
    tick(timer);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_TRUE(timer->isActive());
    QMouseEvent back(QEvent::MouseMove, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &back);
    tick(timer);
    EXPECT_EQ(clicks.count(), 3);

    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 4);
    EXPECT_FALSE(timer->isActive());

    // The timer is kept for the next press, which starts again at 400 ms.
    QTest::mousePress(button, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(button->repeatTimer(), timer);
    EXPECT_EQ(timer->interval(), 400);
    tick(timer);
    EXPECT_EQ(clicks.count(), 4); // the right button never presses the face
    QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 4);
}

TEST(TimerSpeedButton, ReleasedOffTheButtonDoesNotClick)
{
    TTimerSpeedButton button;
    button.resize(20, 12);
    button.show();
    QSignalSpy clicks(&button, &TTimerSpeedButton::Click);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent off(QEvent::MouseMove, QPointF(40, 40), button.mapToGlobal(QPointF(40, 40)), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &off);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(button.repeatTimer(), nullptr); // no auto-repeat, no timer
}
