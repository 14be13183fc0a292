#pragma once

#include <string>

#include <QPainter>
#include <QRectF>
#include <QSize>

#include "platform/qr/qr_code.h"
#include "room/room_state.h"

namespace vorlix::audience {

// What the audience window shows at one moment.
struct AudiencePicture {
  const room::RoomState& state;
  // The web board's address and its QR code, shown between games in place of the number; null
  // when the board is not being served.
  const platform::QrCode* boardQrCode = nullptr;
  std::string boardAddress;
};

// Whether the picture shows the QR code: there is one, and no game is being played.
bool showsQrCode(const AudiencePicture& picture);

// Paints the whole picture into a device of `size` pixels: light on dark, for a projector in a
// lit hall. A called number differs from one not called in brightness (well above 4.5:1), in
// shape (a disc, not a square) and in weight (bold), so it reads in grey, to any eye, and on a
// washed-out projector.
void paintAudience(QPainter& painter, const QSize& size, const AudiencePicture& picture);

// Dark modules on white with the quiet zone of four modules round them, each module a whole
// number of pixels, centred in `area` (a camera reads sharp modules best).
void paintQrCode(QPainter& painter, const platform::QrCode& code, const QRectF& area);

}  // namespace vorlix::audience
