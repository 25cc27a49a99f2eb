#pragma once
// Names that documents give for files of this system: a page template's file
// name, the folder and file name of a picture copied beside the document.
// They come from files that others send, so they are checked before they
// become paths: a name must stay a name in its folder and must not open a
// device.
#include "platform/classlib/String.h"

// One plain file or folder name: no separators, drive, control or reserved
// characters, no trailing dot or blank (Windows would drop them and open
// another file, and "." and ".." are such names), and no device name. Dots
// inside a name or at its start are part of it.
bool IsSafeFileName(const CString& name);
// A name that Windows opens as a device whatever extension follows: CON,
// PRN, AUX, NUL, CONIN$, CONOUT$, COM and LPT with a digit 0 to 9 or a
// superscript 1, 2 or 3.
bool IsDeviceName(const CString& name);
// The extensions of the two kinds of template files.
extern const wchar_t kTitleTemplateExtension[];
extern const wchar_t kLeafTemplateExtension[];

// The file that holds a page template of that name: the name itself when it
// ends with its kind's extension, the name and that extension when it has no
// extension; empty for any other name (one with another extension, or no
// plain file name, or one with two dots together), so that nothing but
// templates of the kind is ever written into the template folder.
CString TemplateFileName(const CString& name, bool title);

// A picture file named by a document that refers to files where they lie: a
// full path on a drive, or a name relative to the document's folder, made
// full without touching the disk. Empty for a server (UNC) or
// device-namespace name, a name from the root of no named drive ("\x.jpg",
// which would follow the document to whatever drive it is copied to), a
// drive-relative name and any name with a colon past its drive, which
// Windows would open elsewhere than the name shows.
CString LocalPicturePath(const CString& reference, const CString& documentPath);

// The picture file name that the text of an "Image" element gives, in a
// document that refers to its pictures' files. The writer puts a line feed
// before the name and the end tag's TABs after it; line breaks and TABs are
// in no file name and are removed at both ends. The name itself stays whole:
// a report or a picture may be named with a blank of any kind at its start
// or end (" Trip Images\a.jpg"), and without it the name is another file's.
// A text laid out otherwise (by hand: the end tag on a line of its own, or
// no TAB or a blank before it, or no line break before the name) loses the
// blanks at both ends too, as XML's white space.
CString PictureTextName(const CString& text);

// A file (not a folder) at that path.
bool IsExistingFile(const wchar_t* path);
