// A fresh session for every test, which must end with nothing the host handed out left
// unreleased: result-buffer nodes (acutRelRb) and texts (acutDelString).
#pragma once

#include <gtest/gtest.h>

#include "standin/host/core/resbuf.h"
#include "standin/host/core/session.h"

namespace tovutest {

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Session::Get().Reset();
    m_handedOut = standin::LiveHostAllocations();
  }
  void TearDown() override {
    // The reset releases what the host keeps for itself (LISP symbols); what is left was leaked.
    standin::Session::Get().Reset();
    const standin::HostAllocations left = standin::LiveHostAllocations();
    EXPECT_EQ(left.nodes, m_handedOut.nodes) << "result-buffer nodes of the host were not released";
    EXPECT_EQ(left.texts, m_handedOut.texts) << "texts of the host were not released";
  }

 private:
  standin::HostAllocations m_handedOut;
};

}  // namespace tovutest
