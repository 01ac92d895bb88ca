#pragma once
// FoundMessages: the find window's results, a table model over a listing of
// the whole message folder. The listing is held in the order asked for, so
// that a change of the criteria (every key the operator types) only filters
// it again; a new order sorts it once.

#include "mailbox/MessageQuery.h"

#include <QAbstractTableModel>
#include <QSet>

#include <cstdint>
#include <vector>

namespace vm::manager_window {

class FoundMessages final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Box, Date, Time, Length, Kind, Line, Caller, kColumns };

    explicit FoundMessages(QObject* parent = nullptr);

    // The messages to find among; the criteria and the order stay.
    void setListing(std::vector<mailbox::MessageInfo> listing);
    void setCriteria(const mailbox::MessageCriteria& criteria);
    // Orders the results by `column`, newest or largest first when descending.
    void sort(int column, Qt::SortOrder order) override;

    int total() const { return static_cast<int>(all_.size()); }
    const mailbox::MessageInfo& message(int row) const;
    // The rows of the results that show one of `files`.
    std::vector<int> rowsOf(const QSet<QString>& files) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The headings; a date or time is first ordered newest first.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void filter();

    std::vector<mailbox::MessageInfo> all_;
    std::vector<std::uint32_t> ordered_;  // places in all_, in the order asked for
    std::vector<std::uint32_t> shown_;    // those of ordered_ the criteria take
    mailbox::MessageCriteria criteria_;
    mailbox::MessageOrder order_;
};

}  // namespace vm::manager_window
