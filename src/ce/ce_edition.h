#pragma once
// The handheld edition's description: its menu, accelerators and command
// bar, the features it lacks (status bar, printing, driver information, bar
// toggles, connecting through the data-source chooser), its font chooser,
// its Open command (the document list) and its schema root caption.

struct CEdition;

const CEdition& CeEdition();
