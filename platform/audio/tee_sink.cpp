#include "platform/audio/tee_sink.h"

namespace platform {

void TeeSink::setNoticeReporter(NoticeReporter reporter) {
  first_->setNoticeReporter(reporter);
  second_->setNoticeReporter(std::move(reporter));
}

void TeeSink::warmUp() {
  first_->warmUp();
  second_->warmUp();
}

void TeeSink::beginUtterance(const UtteranceStart& start) {
  first_->beginUtterance(start);
  second_->beginUtterance(start);
}

void TeeSink::write(std::span<const std::int16_t> samples) {
  first_->write(samples);
  second_->write(samples);
}

void TeeSink::endUtterance() {
  first_->endUtterance();
  second_->endUtterance();
}

void TeeSink::stopLive() {
  first_->stopLive();
  second_->stopLive();
}

void TeeSink::finish() {
  first_->finish();
  second_->finish();
}

}  // namespace platform
