#pragma once
// windows.h for the control headers, without the A/W name macros that collide
// with the class library's own method names (TStrings::GetObject,
// TApplication::MessageBox, the file helpers). Call the ...A functions by name.
//
// The class library headers whose names windows.h would rename (GetObject) or
// whose constants it defines as macros (ANSI_CHARSET) come first.
#include "Classes.h"
#include "Component.h"
#include "Graphics.h"

#include <windows.h>
// Streams first: commctrl.h declares the image-list stream calls only with them.
#include <objidl.h>
#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>

#undef GetObject
#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef CreateDirectory
#undef RemoveDirectory
#undef GetCurrentDirectory
#undef SetCurrentDirectory
#undef MessageBox
#undef TextOut
#undef DrawText
#undef GetClassName
#undef FindText
#undef ReplaceText
#undef LoadImage
#undef CreateFont
#undef GetFileTitle
#undef ChooseColor
#undef ChooseFont
#undef GetOpenFileName
#undef GetSaveFileName
#undef Yield
#undef RegisterClass
#undef UnregisterClass
#undef GetClassInfo
