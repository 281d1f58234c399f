#pragma once
#include <windows.h>

// A memory device context for drawing from or into bitmaps. Whatever was selected into it, the
// original bitmap goes back before the context is deleted, so that the bitmaps stay free to be
// replaced or deleted by their owners.
class MemoryContext {
public:
    MemoryContext()
        : context(CreateCompatibleDC(nullptr))
    {
    }
    ~MemoryContext()
    {
        if (original)
            SelectObject(context, original);
        if (context)
            DeleteDC(context);
    }
    MemoryContext(const MemoryContext&) = delete;
    MemoryContext& operator=(const MemoryContext&) = delete;

    // The context with `bitmap` selected; null when there is no context.
    HDC with(HGDIOBJ bitmap)
    {
        if (!context)
            return nullptr;
        if (bitmap != selected) {
            const HGDIOBJ previous = SelectObject(context, bitmap);
            if (!original)
                original = previous;
            selected = bitmap;
        }
        return context;
    }

private:
    HDC context;
    HGDIOBJ original = nullptr;
    HGDIOBJ selected = nullptr;
};
