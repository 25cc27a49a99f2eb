#include "DocumentTestSupport.h"

#include "framework/KWDataSerializer.h"
#include "framework/KWRasterImage.h"
#include "model/TalPicturesData.h"
#include "model/TalTextFormat.h"

#include <utility>

namespace doctest {

void SetNote(CTalSection* section, const std::vector<NotePiece>& pieces)
{
    CTalTextNote* note = section->GetTextNote();
    note->ClearRuns();
    note->ClearParas();
    std::wstring text;
    int index = 0;
    for (const NotePiece& piece : pieces) {
        const std::wstring part = piece.text;
        text += part;
        auto* run = new CKWCharFormat;
        run->m_count = static_cast<uint32_t>(part.size());
        run->m_style = piece.style;
        run->m_charSet = static_cast<uint8_t>(index * 100);
        run->m_size = piece.size;
        run->m_fontIndex = piece.font;
        run->m_color = CKWColor::FromRgb(piece.rgb & 0xFF, (piece.rgb >> 8) & 0xFF, (piece.rgb >> 16) & 0xFF);
        run->m_spacing = piece.spacing;
        run->m_vertical = piece.vertical;
        run->m_sizeStepUp = static_cast<uint8_t>(index % 2);
        note->AppendRun(run);
        auto* para = new CKWParaFormat;
        para->m_count = static_cast<uint32_t>(part.size());
        para->m_leftIndent = 10.0f * index;
        para->m_rightIndent = 5.5f * index;
        para->m_firstLine = -2.5f;
        para->m_spaceBefore = 1.25f * index;
        para->m_spaceAfter = 3.0f;
        para->m_lineSpacing = index % 2 ? -150.0f : 0.0f;
        para->m_align = static_cast<uint8_t>(index % 3);
        note->AppendPara(para);
        ++index;
    }
    note->AssignText(CString(text.c_str()));
}

// A real picture of the format: a gradient that differs with the seed.
std::string RealPicture(const char* format, uint32_t seed)
{
    KWRasterImagePtr image(KWAllocRasterImage(24 + seed % 7, 16 + seed % 5, 4 * (24 + seed % 7)));
    for (uint32_t y = 0; y < image->height; ++y) {
        for (uint32_t x = 0; x < image->width; ++x) {
            uint8_t* p = image->Pixels() + y * image->stride + x * 4;
            p[0] = static_cast<uint8_t>(x * 9 + seed);
            p[1] = static_cast<uint8_t>(y * 13);
            p[2] = static_cast<uint8_t>(seed * 31);
            p[3] = 255;
        }
    }
    KWWriteRasterImageToMemoryFn write = g_rasterLib.GetFunctions().WriteRasterImageToMemory;
    if (!write)
        return std::string();
    const int32_t size = write(image.get(), nullptr, 0, format);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size <= 0 || write(image.get(), &bytes[0], size, format) != size)
        return std::string();
    return bytes;
}

Templates AddManagerTemplates(const std::wstring& pictureFolder)
{
    Templates templates;
    templates.title = new CTalTitlePageTemplate;
    templates.title->SetName(L"Classic \x0416.ott");
    templates.title->SetTitle(L"Classic \x201ETitle\x201C & co");
    templates.title->SetPreviewPictureId(OutsidePicture(pictureFolder + L"title preview.png", RealPicture("png", 700)));
    templates.title->SetBackgroundPictureId(OutsidePicture(pictureFolder + L"title back.jpg", RealPicture("jpg", 900)));
    templates.title->AddCell(CTalTemplate::kCellTitle, CKWDoubleRect(0.1, 0.1, 0.9, 0.2));
    templates.title->AddCell(CTalTemplate::kCellLogo, CKWDoubleRect(0.4, 0.3, 0.6, 0.5));
    g_TemplateManager.AddTitlePageTemplate(templates.title);

    templates.first = new CTalPageTemplate;
    templates.first->SetName(L"Page One.otl");
    templates.first->SetTitle(L"Page one");
    templates.first->SetPreviewPictureId(OutsidePicture(pictureFolder + L"page preview.gif", RealPicture("gif", 300)));
    templates.first->AddCell(CTalTemplate::kCellHeading, CKWDoubleRect(0.05, 0.05, 0.95, 0.1));
    templates.first->AddCell(CTalTemplate::kCellText, CKWDoubleRect(0.05, 0.1, 0.95, 0.3));
    templates.first->AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.05, 0.3, 0.95, 0.95));
    g_TemplateManager.AddPageTemplate(templates.first);

    templates.second = new CTalPageTemplate;
    templates.second->SetName(L"Zwei \x0416.otl");
    templates.second->AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0, 0, 0.5, 1));
    templates.second->AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.5, 0, 1, 1));
    g_TemplateManager.AddPageTemplate(templates.second);
    return templates;
}

void BuildFullDocument(CTalBaseDocument& document, const std::wstring& pictureFolder, const Templates& templates)
{
    CTalDocProperties& props = document.GetProperties();
    props.m_title = L"O'Brien's \x201E" L"Bericht\x201C \x2013 \x4E2D\x6587 \xD83D\xDE00";
    props.m_subject = L"Subject <&> \"quoted\"";
    props.m_author = L"Autor \x0416";
    props.m_company = L"Company";
    props.m_description = L"Line one\nLine two\tTabbed\r\nEnd";
    props.SetPaperKind(CTalDocProperties::kPaperCustom);
    props.SetPaperIndex(7);
    props.SetCustomWidthText(L"21 cm");
    props.SetCustomHeightText(L"29.7 cm");
    props.SetPortrait(0);
    props.m_printWidth = 2000;
    props.m_printHeight = 2800;
    props.m_printOrientation = 2;
    props.m_insertLogo = 1;
    props.m_insertDate = 0;
    props.m_insertWatermarks = 1;
    props.m_exportType = 3;
    props.m_insertTitlePage = 0;
    props.m_insertContents = 1;
    props.m_numberSections = 0;
    props.m_grayscale = 1;
    props.m_useDescription = 0;
    props.m_useTextStyles = 1;
    props.m_titleTemplateName = templates.title->GetName();

    props.GetFontTable().FindOrAdd(L"Arial");
    props.GetFontTable().FindOrAdd(L"Times New Roman");
    props.GetFontTable().FindOrAdd(L"\x0428\x0440\x0438\x0444\x0442");
    for (int32_t id = 0; id <= 10; ++id) {
        auto* format = new CTalTextFormat;
        format->m_style = static_cast<uint8_t>(id % 8);
        format->m_charSet = static_cast<uint8_t>(id * 3);
        format->m_size = static_cast<int16_t>(8 + id);
        format->m_font = static_cast<uint32_t>(id % 3);
        format->m_color = 0x010203u * static_cast<uint32_t>(id);
        format->m_position = static_cast<uint8_t>(id % 3);
        format->m_count = static_cast<uint32_t>(id * 11);
        format->m_spacing = 0.25f * id;
        format->m_hyperlink = static_cast<uint32_t>(id * 100);
        format->m_align = static_cast<uint8_t>(id % 3);
        props.SetTextFormat(id, format);
    }

    // Bytes that begin as pictures do: a document naming files where they lie takes only those.
    const int32_t photo =
        OutsidePicture(pictureFolder + L"photo one.jpg", "\xFF\xD8\xFF" + std::string(3000, '\x11') + "end");
    const int32_t stored = StorePicture(std::string("\x89PNG\r\n\x1A\n stored picture\x00\xFF", 26), "png");
    const int32_t scan = OutsidePicture(pictureFolder + L"scan.bmp", "BM" + std::string(1232, '\xBB'));
    const int32_t mark = StorePicture("\xFF\xD8\xFF" + std::string(509, 'M'), "jpg");
    props.m_logoPictureId = photo;

    auto* text = new CTalWatermark;
    text->m_kind = CTalWatermark::kText;
    text->m_name = L"Draft";
    text->m_place = CTalWatermark::kPlaceCentre;
    text->m_sendToFront = 1;
    text->m_text = L"DRAFT \x2013 Entwurf \x2713";
    text->m_textFormat.m_style = 3;
    text->m_textFormat.m_charSet = 204;
    text->m_textFormat.m_size = 48;
    text->m_textFormat.m_font = 1;
    text->m_textFormat.m_color = 0x0000FF;
    text->m_textFormat.m_count = 7;
    text->m_textFormat.m_spacing = 1.5f;
    text->m_textFormat.m_align = 2;
    props.AddWatermark(text);
    const struct {
        int32_t picture;
        int32_t unit;
        double width;
        double height;
        uint8_t constrain;
    } images[] = {
        {stored, CTalWatermark::kUnitInch, 2.5, 1.25, 0},
        {mark, CTalWatermark::kUnitMillimetre, 50, 30.5, 1},
        {photo, CTalWatermark::kUnitDefault, 0, 0, 1},
    };
    for (const auto& image : images) {
        auto* watermark = new CTalWatermark;
        watermark->m_kind = CTalWatermark::kImage;
        watermark->m_name = L"Picture";
        watermark->m_place = CTalWatermark::kPlaceBottomRight;
        watermark->m_pictureId = image.picture;
        watermark->m_unit = image.unit;
        watermark->m_width = image.width;
        watermark->m_height = image.height;
        watermark->m_constrain = image.constrain;
        props.AddWatermark(watermark);
    }
    auto* number = new CTalWatermark;
    number->m_kind = CTalWatermark::kPageNumber;
    number->m_name = L"Page";
    number->m_place = 7;
    number->m_firstNumber = 5;
    props.AddWatermark(number);
    auto* odd = new CTalWatermark;
    odd->m_kind = 7;
    odd->m_name = L"Odd kind";
    props.AddWatermark(odd);

    CKWRefPtr<CTalSection> heading = props.GetHeadingSection();
    heading->SetName(L"Report \x201E\x0416\x201C");
    heading->SetOwnTemplate(1);
    heading->SetTemplateName(templates.first->GetName());
    SetNote(heading.Get(), {{L"Heading note", 1, 14, 0, 0x112233, 0, 0}});

    CKWRefPtr<CTalSection> a = AddSection(heading.Get(), L"A: Fa\x00E7" L"ade & <door>");
    CKWRefPtr<CTalPicture> first = AddPicture(a.Get(), photo);
    first->SetAngle(90);
    first->SetGrayscale(CTalPicture::kYes);
    first->SetTitle(L"Fa\x00E7" L"ade & <door> \x4E2D");
    first->SetUseDescription(CTalPicture::kNo);
    first->SetNewPage(1);
    CKWRefPtr<CTalPicture> second = AddPicture(a.Get(), scan);
    second->SetAngle(270);
    second->SetGrayscale(CTalPicture::kNo);
    second->SetShown(0);
    CKWRefPtr<CTalPicture> again = AddPicture(a.Get(), photo);
    again->SetTitle(L"the same picture twice");
    SetNote(a.Get(), {{L"First line\n", 1, 12, 1, 0x0000FF, 0.5f, 0},
                      {L"Second \x2211 line\twith tab\n", 2, 10, 2, 0x00FF00, 0, 1},
                      {L"\x4E2D\x6587 and blanks at the end  \n", 4, 9, 0, 0xFF0000, -0.25f, 2}});

    CKWRefPtr<CTalSection> b = AddSection(heading.Get(), L"B");
    CKWRefPtr<CTalSection> b1 = AddSection(b.Get(), L"B1 only child");
    CKWRefPtr<CTalSection> b1a = AddSection(b1.Get(), L"B1a");
    AddPicture(b1a.Get(), stored);
    AddPicture(b1a.Get(), scan);
    SetNote(b1a.Get(), {{L"x", 0, 10, 0, 0, 0, 0}});
    AddSection(b1.Get(), L"B1b");

    CKWRefPtr<CTalSection> c = AddSection(heading.Get(), L"C");
    c->SetOwnTemplate(1);
    c->SetTemplateName(templates.second->GetName());
    CKWRefPtr<CTalSection> d = AddSection(heading.Get(), L"D");
    d->SetOwnTemplate(1);
    d->SetTemplateName(templates.second->GetName());
    AddPicture(d.Get(), mark);
    CKWRefPtr<CTalSection> e = AddSection(c.Get(), L"E");
    e->SetOwnTemplate(1);
    e->SetTemplateName(templates.first->GetName());
}

bool SaveDocument(CTalBaseDocument& document, const std::wstring& path, const std::wstring& templateFolder,
                  CRecordingSerializer* serializer)
{
    CRecordingSerializer local;
    CRecordingSerializer& used = serializer ? *serializer : local;
    used.SetTemplateFolder(templateFolder.c_str());
    return used.SaveDocument(&document, path.c_str(), nullptr);
}

bool LoadDocument(CTalBaseDocument& document, const std::wstring& path, const std::wstring& templateFolder,
                  CRecordingSerializer* serializer)
{
    CRecordingSerializer local;
    CRecordingSerializer& used = serializer ? *serializer : local;
    used.SetTemplateFolder(templateFolder.c_str());
    CTalTags tags;
    if (!tags.RegisterTags())
        return false;
    return used.LoadDocument(path.c_str(), &document, &tags, 0, nullptr);
}

std::string DocumentText(const std::string& body)
{
    return "<?xml version='1.0' encoding='utf-8' ?>\n\n<TallierDocument Version='1.0'>\n" + body +
           "</TallierDocument>\n";
}

void MeasureTree(const CTalSection* heading, size_t& count, size_t& depth)
{
    count = 0;
    depth = 0;
    std::vector<std::pair<const CTalSection*, size_t>> pending{{heading, 0}};
    while (!pending.empty() && count < 1000000) {
        auto [section, level] = pending.back();
        pending.pop_back();
        ++count;
        depth = std::max(depth, level);
        for (const auto& child : section->GetSubSections())
            pending.push_back({child.Get(), level + 1});
    }
}

bool PasteThroughClipboard(const CTalPictureList& pictures, CTalSection* target)
{
    CTalPicturesData copied(pictures), pasted;
    void* block = nullptr;
    uint32_t size = 0;
    if (!CKWDataSerializer::CKWDataSerializer2(&copied).Store(block, size))
        return false;
    const bool loaded = CKWDataSerializer(block, size).Load(pasted) && !pasted.GetPictures().empty();
    free(block);
    if (loaded)
        target->InsertPictures(pasted.GetPictures(), nullptr);
    return loaded;
}

}  // namespace doctest
