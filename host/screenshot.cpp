#include "screenshot.h"

#include <dwmapi.h>
#include <wincodec.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { PollMs = 20, PaintTimeoutMs = 10000 };

static BOOL CALLBACK FindPendingPaint(HWND child, LPARAM pending)
{
    if (IsWindowVisible(child) && GetUpdateRect(child, 0, FALSE))
        *(int*)pending = 1;
    return TRUE;
}

// Whether the window or one of its controls still has something to paint.
static int PaintPending(HWND window)
{
    int pending = GetUpdateRect(window, 0, FALSE) != 0;
    EnumChildWindows(window, FindPendingPaint, (LPARAM)&pending);
    return pending;
}

// The window's frame as the screen shows it. Since Vista the window
// rectangle also holds the invisible resize borders and the drop shadow,
// which show what lies behind; the desktop window manager tells the frame
// itself (dwmapi, loaded only here). Where it cannot (Wine), the window
// rectangle.
static int VisibleFrame(HWND window, RECT* rect)
{
    typedef HRESULT(WINAPI * GetAttribute)(HWND, DWORD, void*, DWORD);
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    GetAttribute get = dwm ? (GetAttribute)(void*)GetProcAddress(dwm, "DwmGetWindowAttribute") : 0;
    int framed = get && get(window, DWMWA_EXTENDED_FRAME_BOUNDS, rect, sizeof *rect) == S_OK &&
                 rect->right > rect->left && rect->bottom > rect->top;
    if (dwm)
        FreeLibrary(dwm);
    return framed || GetWindowRect(window, rect);
}

// The window's pixels as the screen shows them: 24-bit rows, bottom-up, in
// a buffer of stride * height bytes that the caller frees.
static unsigned char* Capture(HWND window, int* width, int* height, int* stride)
{
    RECT rect;
    if (!VisibleFrame(window, &rect))
        return 0;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    *stride = (*width * 3 + 3) & ~3;
    HDC screen = GetDC(0);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = *width;
    info.bmiHeader.biHeight = *height;  // bottom-up, as BMP files store it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = 0;
    unsigned char* pixels = 0;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, 0, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, *width, *height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        pixels = (unsigned char*)malloc((size_t)(*stride * *height));
        if (pixels)
            memcpy(pixels, bits, (size_t)(*stride * *height));
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(0, screen);
    return pixels;
}

static int HasExtension(const wchar_t* path, const wchar_t* extension)
{
    size_t length = wcslen(path), extensionLength = wcslen(extension);
    return length > extensionLength && _wcsicmp(path + length - extensionLength, extension) == 0;
}

int IsPictureName(const wchar_t* path)
{
    return HasExtension(path, L".png") || HasExtension(path, L".bmp");
}

static int WriteBmp(const wchar_t* path, const unsigned char* pixels, int width, int height,
                    int stride)
{
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    memset(&file, 0, sizeof file);
    memset(&info, 0, sizeof info);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + (DWORD)(stride * height);
    FILE* out = _wfopen(path, L"wb");
    int ok = 0;
    if (out) {
        ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info, sizeof info, 1, out) == 1 &&
             fwrite(pixels, (size_t)(stride * height), 1, out) == 1;
        ok = fflush(out) == 0 && !ferror(out) && ok;
        fclose(out);
    }
    return ok;
}

// The Windows Imaging Component's PNG encoder (every Windows since Vista,
// and Wine), fed the rows top-down.
static int WritePng(const wchar_t* path, const unsigned char* pixels, int width, int height,
                    int stride)
{
    unsigned char* rows = (unsigned char*)malloc((size_t)(stride * height));
    if (!rows)
        return 0;
    for (int y = 0; y < height; ++y)
        memcpy(rows + y * stride, pixels + (height - 1 - y) * stride, (size_t)stride);
    HRESULT com = CoInitializeEx(0, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = 0;
    IWICStream* stream = 0;
    IWICBitmapEncoder* encoder = 0;
    IWICBitmapFrameEncode* frame = 0;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    int ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, 0, CLSCTX_INPROC_SERVER,
                                        IID_IWICImagingFactory, (void**)&factory)) &&
             SUCCEEDED(factory->CreateStream(&stream)) &&
             SUCCEEDED(stream->InitializeFromFilename(path, GENERIC_WRITE)) &&
             SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, 0, &encoder)) &&
             SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
             SUCCEEDED(encoder->CreateNewFrame(&frame, 0)) && SUCCEEDED(frame->Initialize(0)) &&
             SUCCEEDED(frame->SetSize((UINT)width, (UINT)height)) &&
             SUCCEEDED(frame->SetPixelFormat(&format)) &&
             IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
             SUCCEEDED(
                 frame->WritePixels((UINT)height, (UINT)stride, (UINT)(stride * height), rows)) &&
             SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    if (frame)
        frame->Release();
    if (encoder)
        encoder->Release();
    if (stream)
        stream->Release();
    if (factory)
        factory->Release();
    if (SUCCEEDED(com))
        CoUninitialize();
    free(rows);
    return ok;
}

int SaveWindowPicture(HWND window, HANDLE process, const wchar_t* path)
{
    // In front, as a user who works in it sees it: its title bar active.
    // Wine, without a window manager, may take a window of another process
    // for the foreground and still draw it inactive: the caption is drawn
    // active all the same.
    SetForegroundWindow(window);
    DWORD_PTR ignored;
    SendMessageTimeoutW(window, WM_NCACTIVATE, TRUE, 0, SMTO_NORMAL, PaintTimeoutMs, &ignored);
    // The dialog is what a user sees once it has painted: its process is
    // idle, nothing in it waits to be painted, and (as the pixels reach the
    // screen a moment after painting) two captures in a row agree.
    int width = 0, height = 0, stride = 0;
    unsigned char* shown = 0;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < PaintTimeoutMs) {
        if (process)
            WaitForInputIdle(process, PaintTimeoutMs);
        if (PaintPending(window)) {
            Sleep(PollMs);
            continue;
        }
        int w = 0, h = 0, st = 0;
        unsigned char* now = Capture(window, &w, &h, &st);
        int same = now && shown && w == width && h == height &&
                   memcmp(now, shown, (size_t)(st * h)) == 0;
        free(shown);
        shown = now;
        width = w, height = h, stride = st;
        if (same)
            break;
        Sleep(PollMs);
    }
    if (!shown)
        return 0;
    int ok = HasExtension(path, L".png") ? WritePng(path, shown, width, height, stride)
                                         : WriteBmp(path, shown, width, height, stride);
    free(shown);
    return ok;
}
