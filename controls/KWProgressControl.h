#pragma once
// CKWProgressControl: the facade over a progress bar of a dialog. Without a
// control window the upper limit reads as the largest int (nothing bounds
// the progress), every other query and setter answers 0 and SetRange does
// nothing.
#include "controls/KWControl.h"

class CKWProgressCtrlImp;

class CKWProgressControl : public CKWControl {
public:
    // What GetUpper answers without a control window.
    static constexpr int kNoWindowUpper = 2147483647;

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

private:
    // The implementation when it has a control window; null otherwise.
    CKWProgressCtrlImp* WindowImp() const;
};
