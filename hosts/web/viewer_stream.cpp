#include "hosts/web/viewer_stream.h"

#include "hosts/web/http_responses.h"

namespace vorlix::web::detail {

ViewerStream::ViewerStream(tcp::socket socket, ServerContext& context, ConnectionSlot slot)
    : socket_(std::move(socket)),
      writeDeadline_(socket_.get_executor()),
      context_(context),
      slot_(std::move(slot)) {}

ViewerStream::~ViewerStream() {
  if (joined_) context_.hub.remove(this);
}

void ViewerStream::start(const std::vector<Frame>& firstFrames) {
  boost::system::error_code ignored;
  socket_.set_option(tcp::no_delay(true), ignored);
  context_.hub.add(this);
  joined_ = true;
  static const Frame head = std::make_shared<const std::string>(eventStreamHead());
  send(head, FrameKind::Other);
  for (const Frame& frame : firstFrames) send(frame, FrameKind::State);
  watchForHangUp();
}

void ViewerStream::send(const Frame& frame, FrameKind kind) {
  if (closed_) return;
  if (queuedBytes_ + frame->size() > context_.options.maxQueuedBytesPerViewer) {
    // Behind by more than its share: every event carries the whole state, so what this viewer
    // has not been sent yet is superseded by the newest state. A viewer that takes nothing at
    // all is dropped by the write deadline instead.
    if (kind != FrameKind::State) return;
    for (const Frame& waiting : queue_) queuedBytes_ -= waiting->size();
    queue_.clear();
  }
  queue_.push_back(frame);
  queuedBytes_ += frame->size();
  if (!writing_) writeQueued();
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
  writeDeadline_.cancel();
}

void ViewerStream::writeQueued() {
  if (queue_.empty() || closed_) {
    writing_ = false;
    return;
  }
  writing_ = true;
  inFlight_.assign(queue_.begin(), queue_.end());
  queue_.clear();
  buffers_.clear();
  for (const Frame& frame : inFlight_) buffers_.emplace_back(net::buffer(*frame));

  const std::uint64_t thisWrite = ++writeNumber_;
  writeDeadline_.expires_after(context_.options.writeTimeout);
  writeDeadline_.async_wait([self = shared_from_this(), thisWrite](boost::system::error_code ec) {
    if (ec || !self->writing_ || self->writeNumber_ != thisWrite || self->closed_) return;
    ++self->context_.counters.droppedSlow;
    self->close();
  });
  net::async_write(socket_, buffers_,
                   [self = shared_from_this()](boost::system::error_code ec, std::size_t) {
                     self->onWritten(ec);
                   });
}

void ViewerStream::onWritten(const boost::system::error_code& error) {
  for (const Frame& frame : inFlight_) queuedBytes_ -= frame->size();
  inFlight_.clear();
  ++writeNumber_;
  writeDeadline_.cancel();
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
