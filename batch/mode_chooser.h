#pragma once

// The modal choice between the batch edition and the single-book edition, with a help picture
// for each.

#include <QDialog>

#include "batch/program_state.h"

namespace lumora {

class PictureBox;

class ModeChooser : public QDialog {
    Q_OBJECT
public:
    enum Choice { closed, batchEdition, singleBookEdition };

    explicit ModeChooser(ProgramState& state);
    Choice choice() const { return choice_; }

private:
    ProgramState& state_;
    PictureBox* helpPicture_;
    Choice choice_ = closed;
};

}  // namespace lumora
