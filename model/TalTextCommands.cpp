#include "model/TalTextCommands.h"

#include "model/TalObject.h"
#include "text/KWCharFormat.h"
#include "text/KWParaFormat.h"

CCmdInsertCharacter::CCmdInsertCharacter(int32_t kind, CTalObject* target, CKWCharFormat* run, int32_t index)
    : CTalCommand(kind, target), m_run(run), m_index(index)
{
}

CCmdInsertCharacter::~CCmdInsertCharacter()
{
    delete m_run;
}

CCmdInsertParagraf::CCmdInsertParagraf(int32_t kind, CTalObject* target, CKWParaFormat* para, int32_t index)
    : CTalCommand(kind, target), m_para(para), m_index(index)
{
}

CCmdInsertParagraf::~CCmdInsertParagraf()
{
    delete m_para;
}
