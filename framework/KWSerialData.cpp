// The serial-data record base.
#include "framework/KWSerialData.h"

CKWSerialData::~CKWSerialData() = default;

bool CKWSerialData::Serialize(CKWArchive& ar)
{
    return false;
}
