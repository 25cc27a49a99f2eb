#include "DocumentTestSupport.h"

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

Templates AddManagerTemplates(const std::wstring& pictureFolder)
{
    Templates templates;
    templates.title = new CTalTitlePageTemplate;
    templates.title->SetName(L"Classic \x0416.ott");
    templates.title->SetTitle(L"Classic \x201ETitle\x201C & co");
    templates.title->SetPreviewPictureId(OutsidePicture(pictureFolder + L"title preview.png", std::string(700, 'P')));
    templates.title->SetBackgroundPictureId(OutsidePicture(pictureFolder + L"title back.jpg", std::string(900, 'B')));
    templates.title->AddCell(CTalTemplate::kCellTitle, CKWDoubleRect(0.1, 0.1, 0.9, 0.2));
    templates.title->AddCell(CTalTemplate::kCellLogo, CKWDoubleRect(0.4, 0.3, 0.6, 0.5));
    g_TemplateManager.AddTitlePageTemplate(templates.title);

    templates.first = new CTalPageTemplate;
    templates.first->SetName(L"Page One.otl");
    templates.first->SetTitle(L"Page one");
    templates.first->SetPreviewPictureId(OutsidePicture(pictureFolder + L"page preview.gif", std::string(300, 'G')));
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

    const int32_t photo = OutsidePicture(pictureFolder + L"photo one.jpg", std::string(3000, '\x11') + "end");
    const int32_t stored = StorePicture(std::string("\x89PNG stored picture\x00\xFF", 22), "png");
    const int32_t scan = OutsidePicture(pictureFolder + L"scan.bmp", std::string(1234, '\xBB'));
    const int32_t mark = StorePicture(std::string(512, 'M'), "jpg");
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

namespace {

void ExpectSameFormat(const CTalTextFormat& a, const CTalTextFormat& b, const std::string& where)
{
    EXPECT_TRUE(a == b) << where << ": style " << int(a.m_style) << "/" << int(b.m_style) << ", spacing "
                        << a.m_spacing << "/" << b.m_spacing << ", font " << a.m_font << "/" << b.m_font;
}

void ExpectSameNote(const CTalTextNote& a, const CTalTextNote& b, const std::string& where)
{
    EXPECT_EQ(Wide(a.GetText()), Wide(b.GetText())) << where;
    if (a.GetText().IsEmpty() && b.GetText().IsEmpty())
        return;
    ASSERT_EQ(a.GetRunCount(), b.GetRunCount()) << where;
    for (int i = 0; i < a.GetRunCount(); ++i) {
        const CKWCharFormat& x = a.GetRun(i);
        const CKWCharFormat& y = b.GetRun(i);
        EXPECT_EQ(x.m_count, y.m_count) << where << " run " << i;
        EXPECT_EQ(x.m_style, y.m_style) << where << " run " << i;
        EXPECT_EQ(x.m_charSet, y.m_charSet) << where << " run " << i;
        EXPECT_EQ(x.m_size, y.m_size) << where << " run " << i;
        EXPECT_EQ(x.m_fontIndex, y.m_fontIndex) << where << " run " << i;
        EXPECT_EQ(x.GetColorRef(), y.GetColorRef()) << where << " run " << i;
        EXPECT_EQ(x.m_color.GetKind(), y.m_color.GetKind()) << where << " run " << i;
        EXPECT_EQ(x.m_spacing, y.m_spacing) << where << " run " << i;
        EXPECT_EQ(x.m_vertical, y.m_vertical) << where << " run " << i;
        EXPECT_EQ(x.m_sizeStepUp, y.m_sizeStepUp) << where << " run " << i;
    }
    ASSERT_EQ(a.GetParaCount(), b.GetParaCount()) << where;
    for (int i = 0; i < a.GetParaCount(); ++i) {
        const CKWParaFormat& x = a.GetPara(i);
        const CKWParaFormat& y = b.GetPara(i);
        EXPECT_EQ(x.m_count, y.m_count) << where << " paragraph " << i;
        EXPECT_EQ(x.m_leftIndent, y.m_leftIndent) << where << " paragraph " << i;
        EXPECT_EQ(x.m_rightIndent, y.m_rightIndent) << where << " paragraph " << i;
        EXPECT_EQ(x.m_firstLine, y.m_firstLine) << where << " paragraph " << i;
        EXPECT_EQ(x.m_spaceBefore, y.m_spaceBefore) << where << " paragraph " << i;
        EXPECT_EQ(x.m_spaceAfter, y.m_spaceAfter) << where << " paragraph " << i;
        EXPECT_EQ(x.m_lineSpacing, y.m_lineSpacing) << where << " paragraph " << i;
        EXPECT_EQ(x.m_align, y.m_align) << where << " paragraph " << i;
    }
}

void ExpectSameSection(const CTalSection& a, const CTalSection& b, const std::string& where)
{
    EXPECT_EQ(Wide(a.GetName()), Wide(b.GetName())) << where;
    EXPECT_EQ(a.GetOwnTemplate(), b.GetOwnTemplate()) << where;
    if (a.GetOwnTemplate()) {
        EXPECT_EQ(Wide(a.GetTemplateName()), Wide(b.GetTemplateName())) << where;
    }
    ASSERT_EQ(a.GetPictureCount(), b.GetPictureCount()) << where;
    for (int i = 0; i < a.GetPictureCount(); ++i) {
        const CTalPicture& x = *a.GetPictures()[static_cast<size_t>(i)];
        const CTalPicture& y = *b.GetPictures()[static_cast<size_t>(i)];
        EXPECT_EQ(PictureBytes(x.GetPictureId()), PictureBytes(y.GetPictureId())) << where << " picture " << i;
        EXPECT_EQ(Wide(x.GetTitle()), Wide(y.GetTitle())) << where << " picture " << i;
        EXPECT_EQ(x.GetUseDescription(), y.GetUseDescription()) << where << " picture " << i;
        EXPECT_EQ(x.GetShown(), y.GetShown()) << where << " picture " << i;
        EXPECT_EQ(x.GetGrayscale(), y.GetGrayscale()) << where << " picture " << i;
        EXPECT_EQ(x.GetNewPage(), y.GetNewPage()) << where << " picture " << i;
        EXPECT_EQ(x.GetAngle(), y.GetAngle()) << where << " picture " << i;
        EXPECT_EQ(y.PeekParent(), &b) << where << " picture " << i;
    }
    ExpectSameNote(*a.GetTextNote(), *b.GetTextNote(), where);
    ASSERT_EQ(a.GetSubSectionCount(), b.GetSubSectionCount()) << where;
}

}  // namespace

void ExpectSameDocument(const CTalBaseDocument& expected, const CTalBaseDocument& actual)
{
    const CTalDocProperties& a = expected.GetProperties();
    const CTalDocProperties& b = actual.GetProperties();
    EXPECT_EQ(Wide(a.m_title), Wide(b.m_title));
    EXPECT_EQ(Wide(a.m_subject), Wide(b.m_subject));
    EXPECT_EQ(Wide(a.m_author), Wide(b.m_author));
    EXPECT_EQ(Wide(a.m_company), Wide(b.m_company));
    EXPECT_EQ(Wide(a.m_description), Wide(b.m_description));
    EXPECT_EQ(a.m_imageSaveType, b.m_imageSaveType);
    EXPECT_EQ(a.GetPaperKind(), b.GetPaperKind());
    EXPECT_EQ(a.GetPaperIndex(), b.GetPaperIndex());
    EXPECT_EQ(Wide(a.GetCustomWidthText()), Wide(b.GetCustomWidthText()));
    EXPECT_EQ(Wide(a.GetCustomHeightText()), Wide(b.GetCustomHeightText()));
    EXPECT_EQ(a.GetPortrait(), b.GetPortrait());
    EXPECT_EQ(a.m_printWidth, b.m_printWidth);
    EXPECT_EQ(a.m_printHeight, b.m_printHeight);
    EXPECT_EQ(a.m_printOrientation, b.m_printOrientation);
    EXPECT_EQ(a.m_insertLogo, b.m_insertLogo);
    EXPECT_EQ(a.m_insertDate, b.m_insertDate);
    EXPECT_EQ(a.m_insertWatermarks, b.m_insertWatermarks);
    EXPECT_EQ(PictureBytes(a.m_logoPictureId), PictureBytes(b.m_logoPictureId));
    EXPECT_EQ(a.m_logoPictureId == 0, b.m_logoPictureId == 0);
    EXPECT_EQ(Wide(a.m_titleTemplateName), Wide(b.m_titleTemplateName));
    EXPECT_EQ(a.m_exportType, b.m_exportType);
    EXPECT_EQ(a.m_insertTitlePage, b.m_insertTitlePage);
    EXPECT_EQ(a.m_insertContents, b.m_insertContents);
    EXPECT_EQ(a.m_numberSections, b.m_numberSections);
    EXPECT_EQ(a.m_grayscale, b.m_grayscale);
    EXPECT_EQ(a.m_useDescription, b.m_useDescription);
    EXPECT_EQ(a.m_useTextStyles, b.m_useTextStyles);

    ASSERT_EQ(a.GetFontTable().GetCount(), b.GetFontTable().GetCount());
    for (uint32_t i = 0; i < a.GetFontTable().GetCount(); ++i)
        EXPECT_EQ(a.GetFontTable().GetString(i), b.GetFontTable().GetString(i)) << "font " << i;

    // A loaded document has every usual format; one it did not have is the default.
    const CTalTextFormat defaults;
    auto formatOf = [&](const CTalDocProperties& props, int32_t id) -> const CTalTextFormat& {
        auto found = props.GetTextFormats().find(id);
        return found == props.GetTextFormats().end() || !found->second ? defaults : *found->second;
    };
    for (const CTalDocProperties* props : {&a, &b}) {
        for (const auto& entry : props->GetTextFormats())
            ExpectSameFormat(formatOf(a, entry.first), formatOf(b, entry.first),
                             "format " + std::to_string(entry.first));
    }

    ASSERT_EQ(a.GetWatermarks().size(), b.GetWatermarks().size());
    for (size_t i = 0; i < a.GetWatermarks().size(); ++i) {
        const CTalWatermark& x = *a.GetWatermarks()[i];
        const CTalWatermark& y = *b.GetWatermarks()[i];
        const std::string where = "watermark " + std::to_string(i);
        EXPECT_EQ(x.m_kind, y.m_kind) << where;
        EXPECT_EQ(Wide(x.m_name), Wide(y.m_name)) << where;
        EXPECT_EQ(x.m_place, y.m_place) << where;
        EXPECT_EQ(x.m_sendToFront, y.m_sendToFront) << where;
        if (x.m_kind == CTalWatermark::kText) {
            EXPECT_EQ(Wide(x.m_text), Wide(y.m_text)) << where;
            ExpectSameFormat(x.m_textFormat, y.m_textFormat, where);
        } else if (x.m_kind == CTalWatermark::kImage) {
            EXPECT_NE(y.m_pictureId, 0) << where;
            EXPECT_EQ(PictureBytes(x.m_pictureId), PictureBytes(y.m_pictureId)) << where;
            EXPECT_EQ(x.m_constrain, y.m_constrain) << where;
            EXPECT_EQ(x.m_unit, y.m_unit) << where;
            EXPECT_EQ(x.m_width, y.m_width) << where;
            EXPECT_EQ(x.m_height, y.m_height) << where;
        } else if (x.m_kind == CTalWatermark::kPageNumber) {
            EXPECT_EQ(x.m_firstNumber, y.m_firstNumber) << where;
        }
    }

    // The trees, section by section in the same order.
    std::vector<std::pair<const CTalSection*, const CTalSection*>> pending{
        {a.GetHeadingSection().Get(), b.GetHeadingSection().Get()}};
    while (!pending.empty()) {
        auto [x, y] = pending.back();
        pending.pop_back();
        ASSERT_TRUE(x && y);
        const std::string where = "section " + filestest::ToAnsi(Wide(x->GetName()));
        ExpectSameSection(*x, *y, where);
        if (::testing::Test::HasFatalFailure())
            return;
        for (int i = 0; i < x->GetSubSectionCount(); ++i) {
            EXPECT_EQ(y->GetSubSections()[static_cast<size_t>(i)]->PeekParent(), y) << where;
            pending.push_back({x->GetSubSections()[static_cast<size_t>(i)].Get(),
                               y->GetSubSections()[static_cast<size_t>(i)].Get()});
        }
    }
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

}  // namespace doctest
