// gdi32 as the desk provides it: fonts, stock objects, brushes and text
// measuring over the desk's simple font model (gdi32/gdi.h), on device
// contexts that are records of what was selected and drawn, not pixels.
#pragma once

#include "platform/desk/win32_types.h"

HFONT CreateFontIndirectA(const LOGFONTA* font);
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);

COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size);
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
int GetDeviceCaps(HDC dc, int index);

// kernel32's MulDiv, which font code uses to turn points into pixels.
int MulDiv(int number, int numerator, int denominator);

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_FONT 6
