#pragma once
// Message boxes of the window: one small interface so that tests can answer
// them. The window shows QtMessageBoxService (QtMessageBoxService.h) unless
// other boxes are in force.

#include "platform/Replaceable.h"

#include <QString>

namespace vm::manager_window {

// Captions the window's message boxes carry.
inline const QString kWindowCaption = QStringLiteral("Quorvane Voicemail Manager");
inline const QString kAppTitle = QStringLiteral("RiVaVaz");

enum class MsgButtons { OkOnly, YesNoCancel };

// Answers with the classic return codes.
enum class MsgAnswer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows `text` modally and returns the button chosen.
    virtual MsgAnswer show(const QString& text, MsgButtons buttons, const QString& caption) = 0;
    // The same with `note` in smaller print below the text: what follows
    // from the answer, kept apart so that the text stays as it always was.
    virtual MsgAnswer ask(const QString& text, MsgButtons buttons, const QString& caption, const QString& note)
    {
        static_cast<void>(note);
        return show(text, buttons, caption);
    }
};

// Boxes that answer for every window (tests); none by default, and then each
// window shows real ones.
platform::Replaceable<MessageBoxService*>& messageBoxService();

}  // namespace vm::manager_window
