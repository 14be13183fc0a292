#include "hosts/web/server_context.h"
#include "hosts/web/viewer_stream.h"

namespace vorlix::web::detail {

ViewerHub::ViewerHub(std::string epoch, std::size_t historyEvents, ServerCounters& counters)
    : log_(std::move(epoch), historyEvents), counters_(counters) {}

void ViewerHub::add(ViewerStream* viewer) {
  viewer->hubIndex = viewers_.size();
  viewers_.push_back(viewer);
  counters_.viewers = viewers_.size();
}

void ViewerHub::remove(ViewerStream* viewer) {
  ViewerStream* last = viewers_.back();
  last->hubIndex = viewer->hubIndex;
  viewers_[viewer->hubIndex] = last;
  viewers_.pop_back();
  counters_.viewers = viewers_.size();
}

void ViewerHub::publish(Frame json) {
  ++counters_.published;
  const room::RoomEvent* latest = log_.latest();
  if (latest != nullptr && *latest->json == *json) return;
  broadcast(log_.append(std::move(json)).sseFrame, true);
}

void ViewerHub::broadcastHeartbeat(const Frame& frame) {
  broadcast(frame, false);
}

void ViewerHub::broadcast(const Frame& frame, bool isState) {
  // Neither send() nor sentAtOnce() closes a viewer on the spot, so the viewers stay put here.
  idle_.clear();
  idleSockets_.clear();
  for (ViewerStream* viewer : viewers_) {
    if (viewer->idle()) {
      idle_.push_back(viewer);
      idleSockets_.push_back(viewer->nativeSocket());
    } else {
      viewer->send(frame,
                   isState ? ViewerStream::FrameKind::State : ViewerStream::FrameKind::Other);
    }
  }
  results_.resize(idle_.size());
  fanout_.send(idleSockets_, *frame, results_);
  for (std::size_t i = 0; i < idle_.size(); ++i) idle_[i]->sentAtOnce(frame, results_[i]);
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
