#pragma once

// Reads the QR codes in a picture with a real decoder (zbarimg), through a file of this test's own.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <QImage>

// The text of the codes found, one a line without the last newline; "" when there is none.
inline std::string decodeQrCodes(const QImage& image) {
  const std::string base = ::testing::TempDir() + "audience-qr-" + std::to_string(::getpid()) +
                           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
  EXPECT_TRUE(image.save(QString::fromStdString(base + ".png")));
  const std::string command =
      std::string(ZBARIMG) + " -q --raw " + base + ".png > " + base + ".txt 2>/dev/null";
  [[maybe_unused]] const int status = std::system(command.c_str());
  std::ifstream in(base + ".txt");
  std::stringstream text;
  text << in.rdbuf();
  std::remove((base + ".png").c_str());
  std::remove((base + ".txt").c_str());
  std::string decoded = text.str();
  while (!decoded.empty() && decoded.back() == '\n') decoded.pop_back();
  return decoded;
}
