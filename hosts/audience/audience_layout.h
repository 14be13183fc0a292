#pragma once

#include <array>

#include <QRectF>
#include <QSizeF>

#include "room/room_state.h"

namespace vorlix::audience {

// Where each part of the audience window goes for a window of a given size. A wide window (a
// projector, a TV) puts the number being called beside the board; a tall one stacks them.
struct AudienceLayout {
  QRectF venue;       // the venue line, top left
  QRectF phase;       // the phase, top right
  QRectF caption;     // "Now calling", "Paused", ... above the number
  QRectF number;      // the number being called, at least a third of the window's height
  QRectF stripTitle;  // "Previous"
  std::array<QRectF, room::RoomState::kRecentShown> strip;  // newest first, left to right
  QRectF progress;                                          // "28 of 90 called"
  QRectF board;                                             // the 90 cells, nine rows of ten
  QRectF qrCode;     // between games: the board's address as a QR code, in place of the number
  QRectF qrCaption;  // the address in words, under the QR code
  QRectF claim;      // a claim being checked: everything under the venue line

  // The cell of a number (1 to 90): nine rows of ten, 1 to 10 in the top row.
  QRectF cell(int numberOnBoard) const;
};

AudienceLayout layOutAudience(const QSizeF& size);

}  // namespace vorlix::audience
