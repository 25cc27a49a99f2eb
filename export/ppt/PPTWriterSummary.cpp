// The document summary information: an empty document summary section and a
// user-defined section with the code page and the "_PID_GUID" property.
#include "export/ppt/PPTWriter.h"

#include <memory>

#include "export/ppt/PropertySetWriter.h"

namespace {

// {d5cdd502-2e9c-101b-9397-08002b2cf9ae}: document summary information.
const GUID kDocumentSummaryFormat = {0xd5cdd502, 0x2e9c, 0x101b, {0x93, 0x97, 0x08, 0x00, 0x2b, 0x2c, 0xf9, 0xae}};
// {d5cdd505-2e9c-101b-9397-08002b2cf9ae}: user-defined properties.
const GUID kUserDefinedFormat = {0xd5cdd505, 0x2e9c, 0x101b, {0x93, 0x97, 0x08, 0x00, 0x2b, 0x2c, 0xf9, 0xae}};

const uint32_t kTypeInt16 = 2;
const uint32_t kTypeBlob = 0x41;
const wchar_t kPidGuid[] = L"{DB1AC964-E39C-11D2-A1EF-006097DA5689}";

void PutU32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace

bool PPTWriter::WriteSummaryInformation()
{
    PropertySetWriter writer(m_summaryStream);
    writer.AddSection(std::unique_ptr<PropertySection>(new PropertySection(kDocumentSummaryFormat)));

    std::unique_ptr<PropertySection> user(new PropertySection(kUserDefinedFormat));
    std::vector<uint8_t> codePage;
    PutU32(codePage, kTypeInt16);
    PutU32(codePage, 1252);  // u16 1252 and u16 0
    user->AddProperty(1, codePage.data(), static_cast<uint32_t>(codePage.size()));

    std::vector<uint8_t> guid;
    const uint32_t units = static_cast<uint32_t>(sizeof(kPidGuid) / sizeof(kPidGuid[0]));  // with the zero
    PutU32(guid, kTypeBlob);
    PutU32(guid, 2 * units);
    for (uint32_t i = 0; i < units; ++i) {
        guid.push_back(static_cast<uint8_t>(kPidGuid[i]));
        guid.push_back(static_cast<uint8_t>(kPidGuid[i] >> 8));
    }
    user->AddProperty(2, guid.data(), static_cast<uint32_t>(guid.size()));
    user->AddDictionaryEntry(2, CString(L"_PID_GUID"));
    user->WriteDictionary();
    writer.AddSection(std::move(user));

    writer.Write();
    return true;
}
