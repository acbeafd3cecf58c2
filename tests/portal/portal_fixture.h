// A portal of fixture pages on 127.0.0.1 and a context whose addresses point
// at it, with recorded effects. Workers are waited for with Settle().
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "portal/context.h"
#include "sample_portal.h"

namespace yz::testing {

class PortalFixture : public ::testing::Test {
 protected:
  // Serves `pagesDir` (default: the fixtures folder).
  void StartPortal(const std::string& pagesDir = PORTAL_FIXTURES) {
    portal_ = std::make_unique<SamplePortal>(SamplePortal::Options{pagesDir, 0});
    ASSERT_GT(portal_->Start(0), 0);
    ctx_.addresses.portalBase = portal_->Base();
    ctx_.addresses.searchHost = portal_->Base();
    ctx_.addresses.notice = portal_->Base() + "/notice.html";
  }

  void SetUp() override {
    effects_ = std::make_shared<RecordingEffects>();
    ctx_.ui = std::make_shared<ControlModel>();
    ctx_.effects = effects_;
    ctx_.workers = std::make_shared<Workers>();
    StartPortal();
  }

  void TearDown() override {
    ctx_.workers->Shutdown();
    portal_.reset();
  }

  void Settle() { ctx_.workers->WaitIdle(); }
  ControlModel& ui() { return *ctx_.ui; }

  Context ctx_;
  std::shared_ptr<RecordingEffects> effects_;
  std::unique_ptr<SamplePortal> portal_;
};

}  // namespace yz::testing
