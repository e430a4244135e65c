#pragma once

#include <QLineEdit>
#include <cstdint>

class TCSpinButton;

// A one-line numeric field with a pair of arrows inside its right edge. The
// value is the text itself: every read parses it again.
class TCSpinEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TCSpinEdit(QWidget* parent = nullptr);
    ~TCSpinEdit() override;

    std::int32_t Value();
    void SetValue(std::int32_t value);
    std::int32_t CheckValue(std::int32_t value) const;

    std::int32_t MinValue() const { return m_minValue; }
    void SetMinValue(std::int32_t value) { m_minValue = value; }
    std::int32_t MaxValue() const { return m_maxValue; }
    void SetMaxValue(std::int32_t value) { m_maxValue = value; }
    std::int32_t Increment() const { return m_increment; }
    void SetIncrement(std::int32_t value) { m_increment = value; }
    bool EditorEnabled() const { return m_editorEnabled; }
    void SetEditorEnabled(bool on);
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool on) { m_autoSelect = on; }

    TCSpinButton* Button() const { return m_button; }

    virtual bool IsValidChar(QChar c) const;
    virtual void UpClick();
    virtual void DownClick();

    int GetMinHeight() const;
    // The edit's inner area, inside its 2-pixel edge; the arrows are placed in it.
    static constexpr int kEdge = 2;

    QSize sizeHint() const override;

signals:
    // Raised whenever the text changes: typed, set through the value or stepped.
    void OnChange();

protected:
    // The default beep that answers a refused key or a step on a read-only field.
    virtual void Beep();

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    bool canCutOrPaste() const { return m_editorEnabled && !isReadOnly(); }
    void SetEditRect();

    std::int32_t m_minValue { 0 };
    std::int32_t m_maxValue { 0 };
    std::int32_t m_increment { 1 };
    bool m_editorEnabled { true };
    bool m_autoSelect { true };
    TCSpinButton* m_button { nullptr };
};
