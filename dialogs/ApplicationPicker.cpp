#include "dialogs/ApplicationPicker.h"

#include "dialogs/HelpWindow.h"
#include "gfx/Bitmaps.h"
#include "platform/Platform.h"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

using tolm::platform::Application;

// The applications that match the search, in the order of the full list.
class ApplicationPicker::Model : public QAbstractListModel {
public:
    Model(QList<Application> applications, QObject* parent)
        : QAbstractListModel(parent)
        , m_applications(std::move(applications))
        , m_icons(m_applications.size())
    {
        show({});
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : int(m_shown.size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const Application* application = at(index);
        if (!application)
            return {};
        if (role == Qt::DisplayRole)
            return application->name;
        if (role == Qt::DecorationRole)
            return icon(m_shown.at(index.row()));
        return {};
    }

    const Application* at(const QModelIndex& index) const
    {
        if (!index.isValid() || index.row() >= m_shown.size())
            return nullptr;
        return &m_applications.at(m_shown.at(index.row()));
    }

    // The matches best first (see Application::rank), each rank in the
    // order of the full list.
    void show(const QStringList& words)
    {
        beginResetModel();
        QList<std::pair<int, qsizetype>> ranked;
        for (qsizetype i = 0; i < m_applications.size(); ++i) {
            const Application& application = m_applications.at(i);
            if (application.matches(words))
                ranked.append({ application.rank(words), i });
        }
        std::stable_sort(
            ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        m_shown.clear();
        for (const auto& [rank, i] : ranked)
            m_shown.append(i);
        endResetModel();
    }

    // What the typing most likely means.
    QModelIndex best() const { return index(0); }

private:
    // An icon is looked up the first time its row is drawn: a long list
    // opens without resolving a thousand theme icons first.
    QIcon icon(qsizetype index) const
    {
        QIcon& icon = m_icons[index];
        if (icon.isNull())
            icon = tolm::platform::services().icons->iconSource(m_applications.at(index).path, 0);
        if (icon.isNull())
            icon = QIcon(QPixmap::fromImage(tolm::gfx::iconImage("NO_ICON")));
        return icon;
    }

    QList<Application> m_applications;
    QList<qsizetype> m_shown;
    mutable QList<QIcon> m_icons;
};

ApplicationPicker::ApplicationPicker(QList<Application> applications, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ApplicationPicker"));
    setWindowTitle(tr("Elegir aplicación"));
    HelpWindow::answerHelpKey(this, [] { return QString::fromLatin1(HelpWindow::kPickerSection); });
    m_model = new Model(std::move(applications), this);

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("searchEdit"));
    m_search->setClearButtonEnabled(true);
    m_search->installEventFilter(this);
    auto* searchLabel = new QLabel(tr("&Buscar:"), this);
    searchLabel->setBuddy(m_search);

    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("applicationList"));
    // Every row is as high as the first, so a long list is laid out without
    // measuring each row.
    m_list->setUniformItemSizes(true);
    m_list->setIconSize(QSize(24, 24));
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setModel(m_model);
    auto* listLabel = new QLabel(tr("&Aplicaciones:"), this);
    listLabel->setBuddy(m_list);

    auto* buttons = new QDialogButtonBox(this);
    m_okButton = buttons->addButton(tr("Aceptar"), QDialogButtonBox::AcceptRole);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    buttons->addButton(tr("Cancelar"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ApplicationPicker::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ApplicationPicker::reject);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(listLabel);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);

    connect(m_search, &QLineEdit::textChanged, this, &ApplicationPicker::search);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this] { m_okButton->setEnabled(!chosenFile().isEmpty()); });
    connect(m_list, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            accept();
    });

    const QFontMetrics metrics = fontMetrics();
    resize(metrics.averageCharWidth() * 48, metrics.height() * 30);
    selectBest();
    m_search->setFocus();
}

ApplicationPicker::~ApplicationPicker() = default;

QString ApplicationPicker::chosenFile() const
{
    const Application* application = m_model->at(m_list->currentIndex());
    return application ? application->path : QString();
}

void ApplicationPicker::accept()
{
    const QString chosen = chosenFile();
    if (chosen.isEmpty())
        return;
    QDialog::accept();
    emit applicationChosen(chosen);
}

void ApplicationPicker::search(const QString& typed)
{
    m_model->show(tolm::platform::searchWords(typed));
    selectBest();
}

void ApplicationPicker::selectBest()
{
    m_list->setCurrentIndex(m_model->best());
    m_list->scrollTo(m_list->currentIndex());
    m_okButton->setEnabled(!chosenFile().isEmpty());
}

bool ApplicationPicker::eventFilter(QObject* watched, QEvent* event)
{
    // The arrow and page keys move through the list while the typing stays
    // in the search field.
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(m_list, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
