#include "appwindows/KWWinBasePageFrame.h"

CKWWinBasePageFrame::CKWWinBasePageFrame() : m_attached(nullptr) {}

CKWWinBasePageFrame::~CKWWinBasePageFrame() = default;

CScrollBar* CKWWinBasePageFrame::GetHorzScrollBar() { return m_hScrollStrip.GetScrollBar(); }

CScrollBar* CKWWinBasePageFrame::GetVertScrollBar() { return m_vScrollStrip.GetScrollBar(); }
