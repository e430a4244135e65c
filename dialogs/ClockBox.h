#pragma once

#include <QGroupBox>

class QCheckBox;
class QLineEdit;

// A clock's " Opciones ": the formats of its time and date, what stands
// between them, and which parts it shows.
class ClockBox : public QGroupBox {
    Q_OBJECT

public:
    explicit ClockBox(QWidget* parent = nullptr);

    QLineEdit* timeFormatEdit() const { return m_timeFormatEdit; }
    QLineEdit* dateFormatEdit() const { return m_dateFormatEdit; }
    QLineEdit* separatorEdit() const { return m_separatorEdit; }
    QCheckBox* showTimeCheck() const { return m_showTimeCheck; }
    QCheckBox* showDateCheck() const { return m_showDateCheck; }
    QCheckBox* analogueCheck() const { return m_analogueCheck; }
    QCheckBox* secondHandCheck() const { return m_secondHandCheck; }

private:
    QLineEdit* m_timeFormatEdit { nullptr };
    QLineEdit* m_dateFormatEdit { nullptr };
    QLineEdit* m_separatorEdit { nullptr };
    QCheckBox* m_showTimeCheck { nullptr };
    QCheckBox* m_showDateCheck { nullptr };
    QCheckBox* m_analogueCheck { nullptr };
    QCheckBox* m_secondHandCheck { nullptr };
};
