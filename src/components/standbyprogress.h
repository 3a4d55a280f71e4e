#pragma once
// The progress of the program's standby window, as the windows below the
// application see it: long batches (the deletion panel's Safe Harbor
// sorting) begin it with their count, step it, and end it. The standby
// window registers itself at start-up; without one the calls do nothing.

namespace comp {

class StandbyProgress {
public:
    virtual ~StandbyProgress() = default;
    // Sets the bar's maximum and shows the window.
    virtual void begin(int maximum) = 0;
    virtual void step(int value) = 0;
    // Hides the window.
    virtual void end() = 0;
};

// The registered standby progress, or nullptr.
StandbyProgress* standbyProgress();
void setStandbyProgress(StandbyProgress* progress);  // not owned; nullptr: none

}  // namespace comp
