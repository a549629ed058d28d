#pragma once

#include <array>
#include <cstdint>

// One colour, held as three RGB bytes and read or written in the CMY, CMYK,
// HLS and YCbCr models. Nothing is cached: every reading recomputes from the
// bytes, so the numbers the windows show come straight from the formulas.
//
// The numbers are part of the program's behaviour, so the arithmetic keeps the
// exact widths of the original: values noted as "single" are rounded to float
// at that point, everything else is double, and every fractional value becomes
// an integer by rounding to nearest, ties to even. A result that does not fit
// its integer type throws std::overflow_error; a setter stores R, G and B one
// after the other, so an overflow in G or B leaves the earlier channels stored.
//
// Hue uses this program's own origin, 60 degrees on from the usual one: red is
// 60, yellow 120, green 180, cyan 240, blue 300, magenta 0 (and 360).
class cClrModels
{
public:
    std::uint8_t cmyC() const;
    std::uint8_t cmyM() const;
    std::int16_t cmykK() const;
    std::int16_t cmykC() const;
    std::int16_t cmykM() const;
    std::int16_t cmykY() const;
    std::uint8_t cmyY() const;
    std::int16_t hlsH() const;
    std::int16_t hlsL() const;
    std::int16_t hlsS() const;

    std::uint8_t rgbR() const { return m_red; }
    std::uint8_t rgbG() const { return m_green; }
    std::uint8_t rgbB() const { return m_blue; }
    void setRgbR(std::uint8_t value) { m_red = value; }
    void setRgbG(std::uint8_t value) { m_green = value; }
    void setRgbB(std::uint8_t value) { m_blue = value; }

    std::uint8_t ycbcrY() const;
    std::uint8_t ycbcrCb() const;
    std::uint8_t ycbcrCr() const;

    void SetCMY(std::int16_t c, std::int16_t m, std::int16_t y);
    void SetHLS(std::int16_t h, std::int16_t l, std::int16_t s);
    void SetCMYK(std::int16_t c, std::int16_t m, std::int16_t y, std::int16_t k);
    void SetYCbCr(std::int16_t y, std::int16_t cb, std::int16_t cr);

private:
    // The smallest element; the walk starts from the first element.
    static double MinValue(const std::array<double, 3>& values);
    // The largest element; the walk starts from zero, which is enough because
    // every list given here is non-negative.
    static double MaxValue(const std::array<double, 3>& values);

    // Per-cent CMYK component of one channel, given K already rounded.
    std::int16_t cmykComponent(std::uint8_t channel) const;
    // The three channels as fractions of 255, each stored as a single.
    std::array<float, 3> fractions() const;

    std::uint8_t m_red = 0;
    std::uint8_t m_green = 0;
    std::uint8_t m_blue = 0;
};
