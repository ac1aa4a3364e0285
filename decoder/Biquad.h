#pragma once

#include <cmath>
#include <numbers>

// A second-order IIR section (direct form I, single precision: its corners
// lie far enough from 0 and Nyquist for that), designed as a Butterworth
// high-pass or low-pass after the well-known audio-EQ cookbook formulas.
// Holds its own state; one instance filters one signal.
class Biquad
{
public:
    static Biquad highPass(double cornerHz, double sampleRate) { return design(cornerHz, sampleRate, true); }
    static Biquad lowPass(double cornerHz, double sampleRate) { return design(cornerHz, sampleRate, false); }

    float process(float x)
    {
        // The feedback terms last: the next sample waits only for them.
        const float y = (m_b0 * x + m_b1 * m_x1 + m_b2 * m_x2) - (m_a2 * m_y2 + m_a1 * m_y1);
        m_x2 = m_x1;
        m_x1 = x;
        m_y2 = m_y1;
        m_y1 = y;
        return y;
    }

    // Forgets the signal, as after a long silence.
    void reset() { m_x1 = m_x2 = m_y1 = m_y2 = 0.0F; }

private:
    static Biquad design(double cornerHz, double sampleRate, bool highPass)
    {
        const double w0 = 2.0 * std::numbers::pi * cornerHz / sampleRate;
        // Q = 1/sqrt(2): the flattest pass band, no ringing peak at the corner.
        const double alpha = std::sin(w0) / std::numbers::sqrt2;
        const double cosW0 = std::cos(w0);
        const double a0 = 1.0 + alpha;
        Biquad f;
        const double side = highPass ? (1.0 + cosW0) / 2.0 : (1.0 - cosW0) / 2.0;
        f.m_b0 = float(side / a0);
        f.m_b1 = float((highPass ? -2.0 * side : 2.0 * side) / a0);
        f.m_b2 = float(side / a0);
        f.m_a1 = float(-2.0 * cosW0 / a0);
        f.m_a2 = float((1.0 - alpha) / a0);
        return f;
    }

    float m_b0 = 1.0F, m_b1 = 0.0F, m_b2 = 0.0F, m_a1 = 0.0F, m_a2 = 0.0F;
    float m_x1 = 0.0F, m_x2 = 0.0F, m_y1 = 0.0F, m_y2 = 0.0F;
};
