// The dosselce program: the handheld edition, built with UTF-16 text.
#include "app/dossel_app.h"

wxIMPLEMENT_APP(CDosselApp);
