#include "document/TalDocumentApp.h"

#include "platform/classlib/WinApp.h"

CTalDocumentApp* GetTalDocumentApp()
{
    return dynamic_cast<CTalDocumentApp*>(AfxGetApp());
}
