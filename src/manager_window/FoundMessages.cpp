#include "FoundMessages.h"

#include "WindowText.h"

#include "platform/VbNumbers.h"

#include <QDateTime>

#include <algorithm>
#include <numeric>

namespace vm::manager_window {

namespace {

constexpr mailbox::MessageKey kKeyOf[FoundMessages::kColumns] = {
    mailbox::MessageKey::Box,  mailbox::MessageKey::Date, mailbox::MessageKey::Date,  mailbox::MessageKey::Length,
    mailbox::MessageKey::Kind, mailbox::MessageKey::Line, mailbox::MessageKey::Caller};

const char* const kHeadings[FoundMessages::kColumns] = {"Box", "Date", "Time", "Length", "New/Saved", "Line", "Caller"};

QString cellText(const mailbox::MessageInfo& m, int column)
{
    switch (column) {
        case FoundMessages::Box: return m.box;
        case FoundMessages::Date: return m.time().toString(QStringLiteral("yyyy-MM-dd"));
        case FoundMessages::Time: return m.time().toString(QStringLiteral("HH:mm:ss"));
        case FoundMessages::Length:
            return m.notAFile.isEmpty() && m.sound.complete
                       ? lengthText(static_cast<std::int32_t>(platform::roundHalfEven(m.sound.seconds)))
                       : QString();
        case FoundMessages::Kind:
            return m.parts ? (m.isNew() ? QStringLiteral("New") : QStringLiteral("Saved")) : QString();
        case FoundMessages::Line: return m.parts ? m.parts->line : QString();
        case FoundMessages::Caller: return m.parts ? m.parts->caller : QString();
        default: return {};
    }
}

}  // namespace

FoundMessages::FoundMessages(QObject* parent) : QAbstractTableModel(parent) {}

void FoundMessages::setListing(std::vector<mailbox::MessageInfo> listing)
{
    all_ = std::move(listing);
    ordered_.resize(all_.size());
    std::iota(ordered_.begin(), ordered_.end(), 0u);
    std::sort(ordered_.begin(), ordered_.end(),
              [this](std::uint32_t a, std::uint32_t b) { return mailbox::comesBefore(all_[a], all_[b], order_); });
    filter();
}

void FoundMessages::setCriteria(const mailbox::MessageCriteria& criteria)
{
    criteria_ = criteria;
    filter();
}

void FoundMessages::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= kColumns)
        return;
    order_ = {kKeyOf[column], order == Qt::DescendingOrder};
    std::sort(ordered_.begin(), ordered_.end(),
              [this](std::uint32_t a, std::uint32_t b) { return mailbox::comesBefore(all_[a], all_[b], order_); });
    filter();
}

void FoundMessages::filter()
{
    beginResetModel();
    const mailbox::MessageFilter takes(criteria_);
    shown_.clear();
    for (const std::uint32_t place : ordered_) {
        if (takes.matches(all_[place]))
            shown_.push_back(place);
    }
    endResetModel();
}

const mailbox::MessageInfo& FoundMessages::message(int row) const
{
    return all_[shown_[static_cast<std::size_t>(row)]];
}

std::vector<int> FoundMessages::rowsOf(const QSet<QString>& files) const
{
    std::vector<int> rows;
    for (std::size_t r = 0; r < shown_.size(); ++r) {
        if (files.contains(all_[shown_[r]].file))
            rows.push_back(static_cast<int>(r));
    }
    return rows;
}

int FoundMessages::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int FoundMessages::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant FoundMessages::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const mailbox::MessageInfo& m = message(index.row());
    switch (role) {
        case Qt::DisplayRole: return cellText(m, index.column());
        case Qt::ToolTipRole: return m.file;
        default: return {};
    }
}

QVariant FoundMessages::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kHeadings[section]);
    if (role == Qt::InitialSortOrderRole)
        return section == Date || section == Time ? Qt::DescendingOrder : Qt::AscendingOrder;
    return {};
}

}  // namespace vm::manager_window
