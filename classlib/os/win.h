// The one way to include <windows.h> in this project: every file that needs
// it includes this header instead. Outside classlib/os and classlib/ui,
// which are Windows as a whole (and their tests), only files whose names
// end in _win include it; the rest is portable.
//
// - The build defines WIN32_LEAN_AND_MEAN, NOMINMAX, STRICT and _MBCS; they
//   are repeated here so the header stands alone.
// - The program's strings are 8-bit in the system code page: call the ...A
//   functions explicitly (CreateFileA, RegOpenKeyExA, MessageBoxA), never
//   the generic names.
// - <objidl.h> follows <windows.h> (lean windows.h leaves it out) so that
//   <gdiplus.h>, <shlobj.h> and the other COM-based headers work when a file
//   includes them after this one.
// - The generic A/W macros below are removed because the class library has
//   functions and methods of the same names, which the macros would
//   silently rename to ...A in some files and not in others:
//     DeleteFile        the file function in classlib/os/files.h
//     GetObject         TStrings::GetObject (the objects of a string list)
//     TextOut           TCanvas::TextOut
//     DrawText          the canvas and HTML text drawing methods
//     MessageBox        TApplication::MessageBox
//     RegisterClass     class registration for the stored-layout reader
//     UnregisterClass   (its counterpart)
//     FindResource      (kept free for resource helpers; use FindResourceA)
//     LoadString        (kept free for resource-string helpers; use LoadStringA)
//     ReplaceFile       (kept free for the file helpers; use ReplaceFileA)
//     CopyFile, MoveFile, CreateDirectory, RemoveDirectory
//                       (the class library's file functions carry similar
//                       names; use CopyFileA and the others explicitly)
//     Yield, GetCurrentTime
//                       (function-like macros that hide a call or nothing)
//   The Windows functions themselves stay available under their ...A names.
// - Other macros of the Windows headers stay: interface (= struct), near,
//   far, IN, OUT, OPTIONAL, ERROR, DELETE, TRANSPARENT, OPAQUE. Do not use
//   them as identifiers in files that include this header.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif

#include <windows.h>

// After windows.h, which it needs.
#include <objidl.h>

#undef DeleteFile
#undef GetObject
#undef TextOut
#undef DrawText
#undef MessageBox
#undef RegisterClass
#undef UnregisterClass
#undef FindResource
#undef LoadString
#undef ReplaceFile
#undef CopyFile
#undef MoveFile
#undef CreateDirectory
#undef RemoveDirectory
#undef Yield
#undef GetCurrentTime
