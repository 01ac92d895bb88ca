// The message list without a window: the messages a selection means, however
// it runs and wherever it ends, and the rows a re-read selects again.
#include "manager_window/MessageList.h"

#include <gtest/gtest.h>

using namespace vm::manager_window;

TEST(MessageList, ASelectionMeansTheMessagesItReachesAndAReReadFindsTheSameFiles)
{
    MessageList list;
    list.append({listedMessage("a", "7", 0, 0), listedMessage("b", "7", 0, 0), listedMessage("c", "7", 0, 0)});
    QStringList meant;
    for (const auto& [row, rowSel] : {std::pair(3, 0), std::pair(2, 9), std::pair(4, 5), std::pair(1, 1)})
        for (const ListedMessage& m : list.messagesIn(row, rowSel))
            meant << m.fileName;
    EXPECT_EQ(meant.join(' '), "a b c b c a");
    EXPECT_EQ(list.rowsOf({"c", "gone", "a"}), (RowSpan{1, 3}));
    EXPECT_EQ(list.rowsOf({"gone"}), std::nullopt);
}
