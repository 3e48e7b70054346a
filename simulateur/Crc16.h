#pragma once
// The check sequence that closes every Modbus RTU frame.
#include <cstddef>
#include <cstdint>

std::uint16_t Crc16Modbus(const std::uint8_t* octets, std::size_t n);
