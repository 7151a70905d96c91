// Text measurement in one font with the grid window's device context, with the
// advance and line height of each character measured once and cached.
#pragma once

#include <vector>
#include <unordered_map>

#include <wx/dc.h>
#include <wx/font.h>

class TextMetrics {
public:
    TextMetrics(wxDC& dc, const wxFont& font);

    struct Glyph {
        double advance = 0;
        int height = -1;
    };
    const Glyph& Of(char32_t c)
    {
        if (c < m_basicPlane.size() && m_basicPlane[c].height >= 0)
            return m_basicPlane[c];
        return Measured(c);
    }

    // Height the toolkit gives an empty line.
    int EmptyLineHeight() const { return m_emptyLineHeight; }
    // Whether all ten digits have one advance, so numbers of equal length are equally wide.
    bool HasTabularDigits() const { return m_tabularDigits; }

    // Exact size of a text of one or more lines, as the grid measures cells.
    wxSize Measure(const wxString& text);

private:
    const Glyph& Measured(char32_t c);
    Glyph MeasureGlyph(char32_t c);

    wxDC& m_dc;
    wxFont m_font;
    std::vector<Glyph> m_basicPlane;  // measured on first use; height < 0 until then
    std::unordered_map<char32_t, Glyph> m_others;
    int m_emptyLineHeight = 0;
    bool m_tabularDigits = false;
};

// Approximate size of a UTF-8 text as the grid would measure it: the widest line's sum of
// advances, and the height of its lines (an empty line as high as the line before it).
struct TextEstimate {
    double width = 0;
    int height = 0;
    bool exactOnly = false;  // holds characters (tabs, controls) whose width depends on position
};
TextEstimate EstimateText(TextMetrics& metrics, const unsigned char* text, std::size_t size);
