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
  send(head);
  for (const Frame& frame : firstFrames) send(frame);
  watchForHangUp();
}

void ViewerStream::send(const Frame& frame) {
  if (closed_) return;
  if (queuedBytes_ + frame->size() > context_.options.maxQueuedBytesPerViewer) {
    // Too far behind: dropped, later, so that the hub's loop over viewers is left alone.
    ++context_.counters.droppedSlow;
    net::post(socket_.get_executor(), [self = shared_from_this()] { self->close(); });
    closed_ = true;
    return;
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
