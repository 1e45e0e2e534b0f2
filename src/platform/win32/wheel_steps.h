#pragma once

// Turns mouse-wheel rotation into whole scroll steps. The system reports rotation in
// units of which one notch is 120; finer wheels and touch pads send fractions, which add
// up until they make a step. Turning back drops what was left over the other way.

namespace tessaly {

class WheelSteps {
  public:
    static constexpr int notch = 120;

    // Rotation toward the end (positive) or the start (negative); returns the whole steps
    // it completes, with the same sign.
    int add(int delta) {
        if ((delta > 0 && rest_ < 0) || (delta < 0 && rest_ > 0)) rest_ = 0;
        rest_ += delta;
        const int steps = rest_ / notch;
        rest_ -= steps * notch;
        return steps;
    }

  private:
    int rest_ = 0;
};

} // namespace tessaly
