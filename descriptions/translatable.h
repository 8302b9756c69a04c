// N_() marks a text that the authors' tool shows in the author's language:
// it changes nothing here, but gettext's xgettext collects the texts it marks
// into the tool's catalogue (po/it.po).
#pragma once

#define N_(text) text
