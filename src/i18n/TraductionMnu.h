// Captions built from the translatable strings once a language module was
// accepted.
#pragma once

// Completes the strings derived from others (hue and saturation labels, the
// gain and noise formats, the web palette caption, the word "Date", the
// thickness label, the path transformation caption). Does nothing without a
// language module: the derived strings keep their French defaults.
void DeriveTranslatedStrings();
