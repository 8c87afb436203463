#pragma once

class QLabel;
class QWidget;

namespace plumwit {

// Makes `label` the caption of `box` for keyboard and screen-reader users:
// the label becomes the box's buddy, and the box is named after the label's
// text without its closing colon ("Username:" names the box "Username").
void LabelBox(QLabel* label, QWidget* box);

}  // namespace plumwit
