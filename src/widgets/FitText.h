#pragma once
// Text that must show whole in a fixed place, a count in a label of the
// design width, say: the label keeps its place and takes a narrower or
// smaller font when its own one would cut the text off.

class QLabel;

namespace vm::widgets {

// Sets the label's font so that its text fits the part of the label that
// shows inside its parent, leaving a little room before whatever follows:
// the font the label inherits when the text fits in it, else a condensed
// one, made smaller step by step as far as is still legible. Call it after
// each change of the text.
void fitTextToWidth(QLabel& label);

}  // namespace vm::widgets
