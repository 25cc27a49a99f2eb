#include "framework/KWPictureProblem.h"

#include "framework/KWRasterLib.h"
#include "framework/KWWriteFailureReason.h"

const wchar_t kKWPictureProblemsHeading[] =
    L"These picture files cannot be shown as they are; the report shows what can be read of each, or a "
    L"placeholder:";

CString KWPictureProblemLine(KWPictureState state, const wchar_t* path, SIZE size)
{
    const wchar_t* format = nullptr;
    switch (state) {
    case KWPictureState::Sound:
        return CString();
    case KWPictureState::Empty:
        format = L"The picture file %ls is empty.";
        break;
    case KWPictureState::NotPicture:
        format = L"The file %ls is not a picture.";
        break;
    case KWPictureState::Damaged:
        format = L"The picture file %ls is damaged.";
        break;
    case KWPictureState::Missing:
        format = L"Cannot open file %ls";
        break;
    case KWPictureState::UnreadKind:
        format = L"The picture file %ls is of a kind this program does not read.";
        break;
    case KWPictureState::TooLarge: {
        CString line;
        line.Format(L"The picture file %ls is too large to show: %ld x %ld pixels.", path ? path : L"",
                    static_cast<long>(size.cx), static_cast<long>(size.cy));
        return line;
    }
    }
    CString line;
    line.Format(format, path ? path : L"");
    return line;
}

CString KWRefusedNameLine(const wchar_t* name)
{
    CString line;
    line.Format(L"The picture file name \"%ls\" is refused.", name ? name : L"");
    return line;
}

CString KWUnkeptPictureText(DWORD error)
{
    CString folder;
    CString reason;
    if (g_rasterLib.HasStoreFolder()) {
        // The store's own file failed: its folder and disk tell why.
        folder = g_rasterLib.GetStoreFolder();
        reason = KWWriteFailureReason(folder, error, KWWriteStep::Staged);
        folder = folder.Left(folder.GetLength() - 1);
    } else {
        // No folder could be made: the one tried is what failed.
        folder = g_rasterLib.GetStoreFailedFolder();
        reason = KWWriteFailureReason(folder, error ? error : g_rasterLib.GetStoreError(), KWWriteStep::Target);
    }
    CString text;
    text.Format(L"could not be kept in \"%ls\": %ls", folder.GetString(), reason.GetString());
    return text;
}
