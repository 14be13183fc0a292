#include "hosts/web/viewer_stream.h"

#include <cerrno>

#include "hosts/web/http_responses.h"
#include "hosts/web/socket_fanout.h"

namespace vorlix::web::detail {

ViewerStream::ViewerStream(tcp::socket socket, ServerContext& context, ConnectionSlot slot)
    : socket_(std::move(socket)), context_(context), slot_(std::move(slot)) {}

ViewerStream::~ViewerStream() {
  if (joined_) context_.hub.remove(this);
}

void ViewerStream::start(const std::vector<Frame>& firstFrames) {
  boost::system::error_code ignored;
  socket_.set_option(tcp::no_delay(true), ignored);
  socket_.non_blocking(true, ignored);
  context_.hub.add(this);
  joined_ = true;
  static const Frame head = std::make_shared<const std::string>(eventStreamHead());
  send(head, FrameKind::Other);
  for (const Frame& frame : firstFrames) send(frame, FrameKind::State);
  watchForHangUp();
}

void ViewerStream::send(const Frame& frame, FrameKind kind) {
  if (closed_) return;
  if (idle()) {
    sentAtOnce(frame, sendNow(socket_.native_handle(), *frame));
    return;
  }
  if (queuedBytes_ + frame->size() > context_.options.maxQueuedBytesPerViewer) {
    // Behind by more than its share: every event carries the whole state, so what this viewer
    // has not been sent yet is superseded by the newest state. A viewer that takes nothing at
    // all is dropped by the write deadline instead.
    if (kind != FrameKind::State) return;
    for (const Frame& waiting : queue_) queuedBytes_ -= waiting->size();
    queue_.clear();
    frontSent_ = 0;
  }
  queue_.push_back(frame);
  queuedBytes_ += frame->size();
  if (!writing_) writeQueued();
}

void ViewerStream::sentAtOnce(const Frame& frame, long result) {
  // Nearly always the socket takes a frame whole, which spares an asynchronous write per viewer
  // per change; what it does not take waits in the queue.
  if (result == static_cast<long>(frame->size())) return;
  if (result < 0 && result != -EAGAIN && result != -EWOULDBLOCK) {
    closed_ = true;  // closed later, so that the hub's loop over viewers is left alone
    net::post(socket_.get_executor(), [self = shared_from_this()] { self->close(); });
    return;
  }
  queue_.push_back(frame);
  queuedBytes_ += frame->size();
  frontSent_ = result < 0 ? 0 : static_cast<std::size_t>(result);
  writeQueued();
}

void ViewerStream::close() {
  if (joined_) {
    context_.hub.remove(this);
    joined_ = false;
  }
  closed_ = true;
  boost::system::error_code ignored;
  socket_.shutdown(tcp::socket::shutdown_both, ignored);
  socket_.close(ignored);
}

bool ViewerStream::stalled(Clock::time_point now) const {
  return writing_ && !closed_ && now - writingSince_ > context_.options.writeTimeout;
}

void ViewerStream::writeQueued() {
  if (queue_.empty() || closed_) {
    writing_ = false;
    return;
  }
  writing_ = true;
  writingSince_ = Clock::now();
  inFlight_.assign(queue_.begin(), queue_.end());
  queue_.clear();
  buffers_.clear();
  for (const Frame& frame : inFlight_) buffers_.emplace_back(net::buffer(*frame));
  buffers_.front() += frontSent_;
  frontSent_ = 0;
  net::async_write(socket_, buffers_,
                   [self = shared_from_this()](boost::system::error_code ec, std::size_t) {
                     self->onWritten(ec);
                   });
}

void ViewerStream::onWritten(const boost::system::error_code& error) {
  for (const Frame& frame : inFlight_) queuedBytes_ -= frame->size();
  inFlight_.clear();
  if (error) {
    close();
    return;
  }
  writeQueued();
}

void ViewerStream::watchForHangUp() {
  // A viewer sends nothing after its request; a read that ends means it has gone.
  socket_.async_read_some(net::buffer(discard_),
                          [self = shared_from_this()](boost::system::error_code ec, std::size_t) {
                            if (ec) {
                              self->close();
                              return;
                            }
                            if (!self->closed_) self->watchForHangUp();
                          });
}

}  // namespace vorlix::web::detail
