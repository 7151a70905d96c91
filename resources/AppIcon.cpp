// Loads the icon "aaaa" from wherever this platform keeps it: a resource on Windows, built-in PNG bytes elsewhere.
#include "AppIcon.h"

#include <wx/bitmap.h>
#include <wx/image.h>

#include <cstddef>

#ifndef __WXMSW__
// Defined in the source that the build generates from aaaa.png.
namespace embedded {
extern const unsigned char aaaaPng[];
extern const std::size_t aaaaPngSize;
}
#endif

wxIcon LoadAppIcon()
{
#ifdef __WXMSW__
    return wxIcon("aaaa", wxBITMAP_TYPE_ICO_RESOURCE);
#else
    // Decoding needs the PNG handler; adding it here keeps the icon from depending on start-up order.
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);

    const wxBitmap bitmap = wxBitmap::NewFromPNGData(embedded::aaaaPng, embedded::aaaaPngSize);
    wxIcon icon;
    if (bitmap.IsOk())
        icon.CopyFromBitmap(bitmap);
    return icon;
#endif
}
