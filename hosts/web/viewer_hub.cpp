#include "hosts/web/server_context.h"
#include "hosts/web/viewer_stream.h"

namespace vorlix::web::detail {

ViewerHub::ViewerHub(std::string epoch, std::size_t historyEvents, ServerCounters& counters)
    : log_(std::move(epoch), historyEvents), counters_(counters) {}

void ViewerHub::add(ViewerStream* viewer) {
  viewers_.insert(viewer);
  counters_.viewers = viewers_.size();
}

void ViewerHub::remove(ViewerStream* viewer) {
  viewers_.erase(viewer);
  counters_.viewers = viewers_.size();
}

void ViewerHub::publish(Frame json) {
  ++counters_.published;
  const room::RoomEvent* latest = log_.latest();
  if (latest != nullptr && *latest->json == *json) return;
  const Frame& frame = log_.append(std::move(json)).sseFrame;
  // send() never closes a viewer on the spot, so the set does not change under these loops.
  for (ViewerStream* viewer : viewers_) viewer->send(frame, ViewerStream::FrameKind::State);
}

void ViewerHub::broadcastHeartbeat(const Frame& frame) {
  for (ViewerStream* viewer : viewers_) viewer->send(frame, ViewerStream::FrameKind::Other);
}

void ViewerHub::dropStalled() {
  const auto now = Clock::now();
  std::vector<ViewerStream*> stalled;
  for (ViewerStream* viewer : viewers_) {
    if (viewer->stalled(now)) stalled.push_back(viewer);
  }
  counters_.droppedSlow += stalled.size();
  for (ViewerStream* viewer : stalled) viewer->close();
}

std::vector<Frame> ViewerHub::firstFramesFor(std::string_view lastEventId) const {
  const room::RoomEvent* latest = log_.latest();
  if (latest == nullptr) return {};
  if (!lastEventId.empty()) {
    if (auto missed = log_.after(lastEventId)) {
      std::vector<Frame> frames;
      for (const room::RoomEvent* event : *missed) frames.push_back(event->sseFrame);
      return frames;
    }
  }
  return {latest->sseFrame};
}

Frame ViewerHub::currentJson() const {
  const room::RoomEvent* latest = log_.latest();
  return latest == nullptr ? nullptr : latest->json;
}

}  // namespace vorlix::web::detail
