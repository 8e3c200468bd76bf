#pragma once

#include "gui/app/MainCommands.h"

#include <QIcon>

namespace fenta21::gui {

// A button's picture at the sizes a toolbar asks for.
QIcon toolbarIcon(IconDrawing drawing);

// The pictures of the nine toolbar buttons.
void drawDirectCollection(QPainter& p);
void drawDataFileDisplay(QPainter& p);
void drawAutoLink(QPainter& p);
void drawDisconnect(QPainter& p);
void drawAddressBook(QPainter& p);
void drawReservation(QPainter& p);
void drawCsvConversion(QPainter& p);
void drawDirectCollectionAll(QPainter& p);
void drawWebSite(QPainter& p);

}  // namespace fenta21::gui
