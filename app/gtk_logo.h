// The program's logo, drawn in code: a white letter i on a blue disc.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include "pages/gtk_ref.h"

namespace pbz {

// An RGBA image of size x size pixels; empty for a size below 1.
RefPtr<GdkPixbuf> DrawLogo(int size);

}  // namespace pbz
