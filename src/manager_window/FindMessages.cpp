#include "FindMessages.h"

#include "BusyCursor.h"
#include "FoundMessages.h"
#include "ManagerWindow.h"
#include "MessageActions.h"
#include "MessageBoxService.h"
#include "MessageList.h"

#include "config/Paths.h"
#include "failsafe/Traced.h"
#include "mailbox/LengthCache.h"
#include "mailbox/MessageOperations.h"
#include "platform/AppFolder.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace vm::manager_window {

using failsafe::argumentList;
using failsafe::eventArg;
using failsafe::noArguments;
using failsafe::runTraced;

namespace {

// A day written as 2026-03-07; nothing for an empty field or a text that is
// no such day (yet), which is then told in `notes`.
std::optional<QDate> dayIn(const QLineEdit& field, const QString& what, QStringList& notes)
{
    const QString text = field.text().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid())
        return day;
    notes << QStringLiteral("The %1 day is not used until it reads like 2026-03-07.").arg(what);
    return std::nullopt;
}

ListedMessage listedOf(const mailbox::MessageInfo& m)
{
    return {m.file, m.box, m.seconds, 0, m.isNew(), m.parts ? m.parts->caller : QString()};
}

}  // namespace

FindMessages::FindMessages(ManagerWindow& owner) : QWidget(&owner, Qt::Window), owner_(owner)
{
    setObjectName(QStringLiteral("frmFindMessages"));
    setWindowTitle(QStringLiteral("Find messages"));
    buildControls();

    connect(txtFindCaller, &QLineEdit::textChanged, this,
            [this] { criteriaChanged(QStringLiteral("Sub txtFindCaller_Change")); });
    connect(txtFindBox, &QLineEdit::textChanged, this,
            [this] { criteriaChanged(QStringLiteral("Sub txtFindBox_Change")); });
    connect(txtFindFrom, &QLineEdit::textChanged, this,
            [this] { criteriaChanged(QStringLiteral("Sub txtFindFrom_Change")); });
    connect(txtFindTo, &QLineEdit::textChanged, this,
            [this] { criteriaChanged(QStringLiteral("Sub txtFindTo_Change")); });
    connect(spnFindMinLength, &QSpinBox::valueChanged, this,
            [this] { criteriaChanged(QStringLiteral("Sub spnFindMinLength_Change")); });
    auto* kinds = new QButtonGroup(this);
    for (QRadioButton* option : {optFindAll, optFindNew, optFindSaved})
        kinds->addButton(option);
    connect(kinds, &QButtonGroup::buttonClicked, this,
            [this] { criteriaChanged(QStringLiteral("Sub optFindKind_Click")); });

    connect(gridFound->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { gridFound_HeaderClick(section); });
    // Return and a double-click both activate a result.
    connect(gridFound, &QAbstractItemView::activated, this, [this] { gridFound_DblClick(); });

    mnuFound = buildMessageMenu(this, QStringLiteral("mnuFound"), [this](MessageCommand c) { runCommand(c); });
    mnuFound->setObjectName(QStringLiteral("mnuFound"));
    gridFound->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(gridFound, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        enableMessageMenu(*mnuFound, selectedFiles().size());
        mnuFound->popup(gridFound->viewport()->mapToGlobal(pos));
    });
}

void FindMessages::buildControls()
{
    const auto field = [this](QLineEdit*& edit, const char* name, const QString& placeholder) {
        edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setPlaceholderText(placeholder);
        edit->setClearButtonEnabled(true);
    };
    field(txtFindCaller, "txtFindCaller", QStringLiteral("part of the number"));
    field(txtFindBox, "txtFindBox", QStringLiteral("any"));
    field(txtFindFrom, "txtFindFrom", QStringLiteral("yyyy-mm-dd"));
    field(txtFindTo, "txtFindTo", QStringLiteral("yyyy-mm-dd"));
    spnFindMinLength = new QSpinBox(this);
    spnFindMinLength->setObjectName(QStringLiteral("spnFindMinLength"));
    spnFindMinLength->setRange(0, 24 * 3600);
    spnFindMinLength->setSuffix(QStringLiteral(" s"));
    const auto option = [this](QRadioButton*& button, const char* name, const QString& text) {
        button = new QRadioButton(text, this);
        button->setObjectName(QLatin1String(name));
    };
    option(optFindNew, "optFindNew", QStringLiteral("&New"));
    option(optFindSaved, "optFindSaved", QStringLiteral("&Saved"));
    option(optFindAll, "optFindAll", QStringLiteral("&All"));
    optFindAll->setChecked(true);

    auto* fields = new QGridLayout;
    const auto labelled = [&](const QString& text, QWidget* control, int row, int column) {
        auto* label = new QLabel(text, this);
        label->setBuddy(control);
        control->setAccessibleName(QString(text).remove(u'&').remove(u':'));
        fields->addWidget(label, row, column);
        fields->addWidget(control, row, column + 1);
    };
    labelled(QStringLiteral("&Caller:"), txtFindCaller, 0, 0);
    labelled(QStringLiteral("&Box:"), txtFindBox, 0, 2);
    labelled(QStringLiteral("&From:"), txtFindFrom, 1, 0);
    labelled(QStringLiteral("&To:"), txtFindTo, 1, 2);
    auto* kinds = new QHBoxLayout;
    for (QRadioButton* b : {optFindNew, optFindSaved, optFindAll})
        kinds->addWidget(b);
    fields->addLayout(kinds, 2, 1);
    labelled(QStringLiteral("Shortest &length:"), spnFindMinLength, 2, 2);

    found_ = new FoundMessages(this);
    gridFound = new QTableView(this);
    gridFound->setObjectName(QStringLiteral("gridFound"));
    gridFound->setAccessibleName(QStringLiteral("Messages found"));
    gridFound->setModel(found_);
    gridFound->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridFound->setSelectionMode(QAbstractItemView::ExtendedSelection);
    gridFound->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridFound->setWordWrap(false);
    gridFound->verticalHeader()->hide();
    // Every row is one line high, so a hundred thousand rows cost nothing to lay out.
    gridFound->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gridFound->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    gridFound->horizontalHeader()->setSectionsClickable(true);
    gridFound->horizontalHeader()->setSortIndicatorShown(true);
    gridFound->horizontalHeader()->setSortIndicator(FoundMessages::Box, Qt::AscendingOrder);
    gridFound->horizontalHeader()->setStretchLastSection(true);
    // Each column as wide as its heading or a long value, whichever is wider; the caller takes the rest.
    const char* const widest[FoundMessages::kColumns] = {"32767", "2026-12-31", "00:00:00", "75:00",
                                                         "Saved", "1000",       ""};
    for (int c = 0; c < FoundMessages::kColumns; ++c) {
        const QString heading = found_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        gridFound->setColumnWidth(c, std::max(fontMetrics().horizontalAdvance(heading) + 24,
                                              fontMetrics().horizontalAdvance(QLatin1String(widest[c])) + 12));
    }

    lblFoundCount = new QLabel(this);
    lblFoundCount->setObjectName(QStringLiteral("lblFoundCount"));
    lblFindNote = new QLabel(this);
    lblFindNote->setObjectName(QStringLiteral("lblFindNote"));
    lblFindNote->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(gridFound, 1);
    layout->addWidget(lblFoundCount);
    layout->addWidget(lblFindNote);
    resize(660, 460);
}

void FindMessages::traced(const QString& procedure, const std::function<void()>& body)
{
    runTraced(kFindModule, procedure, noArguments, body);
}

void FindMessages::Form_Load()
{
    traced(QStringLiteral("Sub Form_Load"), [this] {
        readFolder();
        lblFindNote->clear();
    });
}

void FindMessages::open()
{
    Form_Load();
    show();
    raise();
    activateWindow();
    txtFindCaller->setFocus();
    txtFindCaller->selectAll();
}

void FindMessages::readFolder()
{
    const BusyCursor busy;
    // The listing vmbox makes: lengths read before come from the operator's cache.
    std::vector<mailbox::MessageInfo> listing = mailbox::listMessages(
        QString(), mailbox::LengthCache::fileFor(platform::appFolder()));
    found_->setListing(std::move(listing));
    showCount();
}

void FindMessages::criteriaChanged(const QString& procedure)
{
    traced(procedure, [this] {
        QStringList notes;
        mailbox::MessageCriteria criteria;
        criteria.caller = txtFindCaller->text().trimmed();
        criteria.box = txtFindBox->text().trimmed();
        criteria.from = dayIn(*txtFindFrom, QStringLiteral("first"), notes);
        criteria.to = dayIn(*txtFindTo, QStringLiteral("last"), notes);
        criteria.kind = optFindNew->isChecked()     ? mailbox::MessageKind::New
                        : optFindSaved->isChecked() ? mailbox::MessageKind::Saved
                                                    : mailbox::MessageKind::All;
        criteria.minSeconds = spnFindMinLength->value();
        found_->setCriteria(criteria);
        lblFindNote->setText(notes.join(u' '));
        showCount();
    });
}

void FindMessages::showCount()
{
    lblFoundCount->setText(QStringLiteral("%1 of %2 messages match").arg(found_->rowCount()).arg(found_->total()));
}

void FindMessages::gridFound_HeaderClick(int Col)
{
    runTraced(
        kFindModule, QStringLiteral("Sub gridFound_HeaderClick"),
        [&] { return argumentList({eventArg(QStringLiteral("Col"), static_cast<long long>(Col))}); },
        [this, Col] {
            // The heading has turned its indicator already: round on the same
            // column, else to the column's first order (a date newest first).
            found_->sort(Col, gridFound->horizontalHeader()->sortIndicatorOrder());
        });
}

void FindMessages::gridFound_DblClick()
{
    traced(QStringLiteral("Sub gridFound_DblClick"), [this] {
        const mailbox::MessageInfo* m = currentMessage();
        if (!m)
            return;
        const QString box = m->box;
        const QString file = m->file;
        const QString problem = owner_.showMessage(box, file);
        lblFindNote->setText(problem);
        if (problem.isEmpty()) {
            owner_.raise();
            owner_.activateWindow();
        }
    });
}

const mailbox::MessageInfo* FindMessages::currentMessage() const
{
    const QModelIndex current = gridFound->currentIndex();
    return current.isValid() ? &found_->message(current.row()) : nullptr;
}

QStringList FindMessages::selectedFiles() const
{
    QModelIndexList rows = gridFound->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList files;
    for (const QModelIndex& row : rows)
        files << found_->message(row.row()).file;
    return files;
}

void FindMessages::runCommand(MessageCommand command)
{
    const QStringList files = selectedFiles();
    QStringList boxes;
    for (const QString& file : files)
        boxes << mailbox::leadingId(file);
    const auto listAgainAfter = [this, boxes](const QStringList& select) { listAgain(select, boxes); };
    switch (command) {
        case MessageCommand::Play:
            return traced(QStringLiteral("Sub mnuFoundPlay_Click"), [this] {
                if (const mailbox::MessageInfo* m = currentMessage())
                    playMessage(owner_, m->file);
            });
        case MessageCommand::Listen:
            return traced(QStringLiteral("Sub mnuFoundListen_Click"), [this] {
                if (const mailbox::MessageInfo* m = currentMessage())
                    owner_.listen(listedOf(*m));
            });
        case MessageCommand::SaveCopy:
            return traced(QStringLiteral("Sub mnuFoundSaveCopy_Click"), [&] {
                if (files.size() == 1)
                    saveCopyOfMessage(owner_, this, files.front());
            });
        case MessageCommand::CopyToBox:
            return traced(QStringLiteral("Sub mnuFoundCopyToBox_Click"), [&] {
                const std::optional<QString> id = files.isEmpty() ? std::nullopt : askCopyTarget(this, files.size());
                if (!id)
                    return;
                actOnMessages(
                    owner_, files,
                    [&](const QString& path) {
                        mailbox::copyMessage(owner_.mailboxes(), path, *id);
                        return path;
                    },
                    [&](const QStringList& select) { listAgain(select, {*id}); });
            });
        case MessageCommand::Forward:
            return traced(QStringLiteral("Sub mnuFoundForward_Click"), [&] {
                if (files.size() == 1)
                    forwardMessageByEmail(owner_, this, files.front());
            });
        case MessageCommand::MarkNew:
        case MessageCommand::MarkSaved: {
            const bool asNew = command == MessageCommand::MarkNew;
            return traced(
                asNew ? QStringLiteral("Sub mnuFoundMarkNew_Click") : QStringLiteral("Sub mnuFoundMarkSaved_Click"),
                [&] {
                    actOnMessages(
                        owner_, files, [asNew](const QString& path) { return mailbox::markMessage(path, asNew); },
                        listAgainAfter);
                });
        }
        case MessageCommand::Delete:
            return traced(QStringLiteral("Sub mnuFoundDelete_Click"), [&] {
                if (files.isEmpty() || owner_.messageBoxes().ask(deleteQuestion(files.size()), MsgButtons::YesNoCancel,
                                                                 kWindowCaption, kMessagesToTrash) != MsgAnswer::Yes)
                    return;
                for (const QString& file : files)
                    deleteMessageFile(owner_, config::messageFolder() + file);
                listAgainAfter({});
            });
    }
}

void FindMessages::listAgain(const QStringList& select, const QStringList& boxes)
{
    readFolder();
    QItemSelection rows;
    const std::vector<int> found = found_->rowsOf(QSet<QString>(select.begin(), select.end()));
    for (const int r : found)
        rows.select(found_->index(r, 0), found_->index(r, FoundMessages::kColumns - 1));
    gridFound->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    if (!found.empty()) {
        gridFound->selectionModel()->setCurrentIndex(found_->index(found.front(), 0), QItemSelectionModel::NoUpdate);
        gridFound->scrollTo(found_->index(found.front(), 0));
    }
    owner_.boxMessagesChanged(boxes);
}

// Keys no field took: Esc and F5.
void FindMessages::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier)
        Form_Load();
    else
        QWidget::keyPressEvent(event);
}

void FindMessages::closeEvent(QCloseEvent* event)
{
    // A closed window holds no listing; opening it reads the folder afresh.
    found_->setListing({});
    showCount();
    QWidget::closeEvent(event);
}

}  // namespace vm::manager_window
