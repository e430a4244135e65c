#pragma once

#include "platform/Applications.h"

#include <QDialog>

class QLineEdit;
class QListView;
class QPushButton;

// "Aplicación...": the installed applications by name with their icons, and
// a search field that narrows them as the user types, the best answers
// first: the name itself, then names that start with the typing, names with
// words that start with it, then the rest. The first is selected; Return or
// a double-click chooses it, Escape cancels.
class ApplicationPicker : public QDialog {
    Q_OBJECT

public:
    explicit ApplicationPicker(QList<tolm::platform::Application> applications, QWidget* parent = nullptr);
    ~ApplicationPicker() override;

    QLineEdit* searchEdit() const { return m_search; }
    QListView* list() const { return m_list; }
    // The desktop entry of the selected application; empty when none is.
    QString chosenFile() const;

    // Closes the dialog with the selected application, if there is one.
    void accept() override;

signals:
    void applicationChosen(const QString& desktopFile);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Model;

    void search(const QString& typed);
    void selectBest();

    Model* m_model { nullptr };
    QLineEdit* m_search { nullptr };
    QListView* m_list { nullptr };
    QPushButton* m_okButton { nullptr };
};
