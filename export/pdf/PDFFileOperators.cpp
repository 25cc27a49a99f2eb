// PDFFile: the content-stream operators, the filter line and the header.
#include "export/pdf/PDFFile.h"

#include <cmath>
#include <cwchar>

namespace {

const double kChannelScale = 0.00392156862745098;  // 1/255

float Channel(uint32_t colorRef, int shift)
{
    return static_cast<float>(((colorRef >> shift) & 0xFF) * kChannelScale);
}

}  // namespace

void PDFFile::MoveTo(double x, double y)
{
    m_output->WriteReal(x).Write(" ").WriteReal(y).WriteLine(" m");
}

void PDFFile::LineTo(double x, double y)
{
    m_output->WriteReal(x).Write(" ").WriteReal(y).WriteLine(" l");
}

void PDFFile::Stroke()
{
    m_output->WriteLine("S");
}

void PDFFile::SetColor(uint32_t colorRef, bool fill)
{
    m_output->WriteFloat(Channel(colorRef, 0)).Write(" ").WriteFloat(Channel(colorRef, 8)).Write(" ");
    m_output->WriteFloat(Channel(colorRef, 16)).Write(" ").WriteLine(fill ? "rg" : "RG");
}

void PDFFile::SetColorComponents(float a, float b, float c, float d, int colorSpace, bool fill)
{
    m_output->WriteFloat(a).Write(" ").WriteFloat(b).Write(" ").WriteFloat(c).Write(" ");
    if (colorSpace == 1)
        m_output->WriteFloat(d).Write(" ").WriteLine(fill ? "k" : "K");
    else
        m_output->WriteLine(fill ? "rg" : "RG");
}

void PDFFile::BeginText()
{
    m_output->WriteLine("BT");
}

void PDFFile::EndText()
{
    m_output->WriteLine("ET");
}

void PDFFile::SetFont(int32_t fontKey, float size, float lineSpacing)
{
    if (fontKey != -1)
        m_output->Write("/F").WriteInt(fontKey).Write(" ");
    else
        m_output->Write("/F ");
    m_output->WriteFloat(size).WriteLine(" Tf");
    if (lineSpacing != 0)
        m_output->WriteFloat(lineSpacing).Write(" ").WriteLine("TL");
}

void PDFFile::ShowText(const wchar_t* text)
{
    ShowText(text, text ? std::wcslen(text) : 0);
}

void PDFFile::ShowText(const wchar_t* text, size_t length)
{
    m_output->Write("<").WriteHexText(text, length).WriteLine("> Tj");
}

void PDFFile::MoveText(float x, float y)
{
    m_output->WriteFloat(x).Write(" ").WriteFloat(y).WriteLine(" Td");
}

void PDFFile::ShowTextAt(float x, float y, const wchar_t* text, size_t length, float angle)
{
    if (angle == 0) {
        MoveText(x, y);
    } else {
        const float c = static_cast<float>(std::cos(angle));
        const float s = static_cast<float>(std::sin(angle));
        m_output->WriteFloat(c).Write(" ").WriteFloat(s).Write(" ").WriteFloat(-s).Write(" ").WriteFloat(c);
        m_output->Write(" ").WriteFloat(x).Write(" ").WriteFloat(y).WriteLine(" Tm");
    }
    ShowText(text, length);
}

void PDFFile::DrawImage(uint32_t imageKey, float x, float y, float width, float height, float angle,
                        uint8_t orientation)
{
    m_output->WriteLine("q");
    m_output->Write("1 0 0 1").Write(" ").WriteFloat(x).Write(" ").WriteFloat(y).WriteLine(" cm");
    if (angle != 0) {
        const float c = static_cast<float>(std::cos(angle));
        const float s = static_cast<float>(std::sin(angle));
        m_output->WriteFloat(c).Write(" ").WriteFloat(s).Write(" ").WriteFloat(-s).Write(" ").WriteFloat(c);
        m_output->WriteLine(" 0 0 cm");
    }
    if (orientation < 2 || orientation > 8) {
        m_output->WriteFloat(width).Write(" 0 0 ").WriteFloat(height).WriteLine(" 0 0 cm");
    } else {
        // The unit square of the image onto the box: its stored rows and
        // columns go where the orientation puts them.
        const float w = width, h = height;
        const float matrices[9][6] = {
            {}, {},
            {-w, 0, 0, h, w, 0},   // mirrored left to right
            {-w, 0, 0, -h, w, h},  // half a turn
            {w, 0, 0, -h, 0, h},   // mirrored top to bottom
            {0, -h, -w, 0, w, h},  // mirrored along the main diagonal
            {0, -h, w, 0, 0, h},   // a quarter turn clockwise
            {0, h, w, 0, 0, 0},    // mirrored along the other diagonal
            {0, h, -w, 0, w, 0},   // a quarter turn anticlockwise
        };
        const float* m = matrices[orientation];
        for (int i = 0; i < 6; ++i)
            m_output->WriteFloat(m[i]).Write(i < 5 ? " " : "");
        m_output->WriteLine(" cm");
    }
    m_output->Write("/I").WriteUInt(imageKey).WriteLine(" Do");
    m_output->WriteLine("Q");
}

void PDFFile::WriteFilter()
{
    const char* name = PDFFilterName(m_filter);
    if (name)
        m_output->Write("/Filter ").WriteLine(name);
}

void PDFFile::WriteHeader()
{
    m_output->Write("%PDF-").WriteUInt(m_version >> 8 & 0xFF).Write(".").WriteUInt(m_version & 0xFF).WriteLineEnd();
}
