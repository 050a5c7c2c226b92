#pragma once
// The handheld edition's description: the command table's handheld column
// (its menu, accelerators and command bar, the commands it numbers otherwise
// and those it lacks: printing, driver information, bar toggles, connecting
// through the data-source chooser), the features it lacks (status bar, the
// grid's title tips and files), its font chooser, its Open command (the
// document list), its schema root caption and its dialog templates
// (Connect, Go To, about).

struct CEdition;

const CEdition& CeEdition();
