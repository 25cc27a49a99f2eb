#pragma once
// CKWProgressControl: the facade over a progress bar of a dialog. Without an
// implementation every query and setter answers 0.
#include "controls/KWControl.h"

class CKWProgressControl : public CKWControl {
public:
    // A progress implementation over the dialog's progress bar.
    void CreateImp(HWND hWnd) override;

    int SetRange(int lower, int upper);
    int GetUpper();
    // The previous position.
    int SetPos(int position);
    int GetPos();
    // The previous step.
    int SetStep(int step);
    // The previous position.
    int StepIt();
};
