// The dossel program.
#include "app/dossel_app.h"

wxIMPLEMENT_APP(CDosselApp);
