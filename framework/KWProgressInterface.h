#pragma once
// CKWProgressInterface: how long operations (loads, saves, exports) report
// their progress, without knowing the window that shows it. A caller sets the
// stage share, begins a stage of so many units of work, advances once per
// unit and updates at the end; the position moves only forward and never past
// the stage's end.

class CKWProgressInterface {
public:
    CKWProgressInterface() = default;
    virtual ~CKWProgressInterface() = default;

    virtual void StepIt() = 0;
    virtual int GetPos() = 0;
    virtual void SetPos(int position) = 0;
    // The upper end of the range.
    virtual int GetUpper() = 0;
    // The range and the message of a writer that counts its own steps, and
    // what the operation is doing now, for the user; nothing here.
    virtual void SetRange(int low, int high) {}
    virtual void SetMessage(const wchar_t* text) {}

    // Starts a stage of units units covering the stage share of the range
    // from the current position.
    void BeginStage(int units);
    // Counts one unit; returns the position now shown.
    int Advance();
    // Moves the position to the stage's end unless it is there.
    void Update();

    void SetStageShare(double share) { m_stageShare = share; }
    double GetStageShare() const { return m_stageShare; }

private:
    double m_stageShare = 1.0;
    int m_lastPos = 0;
    int m_stageBase = 0;
    int m_stageEnd = 0;
    int m_units = 0;
    double m_scale = 1.0;
};
