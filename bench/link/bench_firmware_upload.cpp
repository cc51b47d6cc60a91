// A whole firmware upload of an embedded image through the link (serial, on the
// simulator's pseudo-terminal) against the simulated bootloader, compared with
// the time the same frames need on a real 460800-baud line (10 bit times a
// byte) plus the simulator's own time to answer every packet.
#include "Bootloader.h"
#include "Simulator.h"
#include "firmware/BootloaderPackets.h"
#include "firmware/BootloaderUpload.h"
#include "firmware/CommPacketLink.h"
#include "firmware/SyntheticFirmware.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

using namespace kvl;

// Every packet the upload sends and every answer, as frames on the wire.
double WireBytes(const TFirmware& firmware, bool arm) {
    double bytes = static_cast<double>(EncodeFrame(StartPatternPacket()).size());
    bytes += static_cast<double>(EncodeFrame(EraseApplicationPacket()).size());
    bytes += static_cast<double>(
        EncodeFrame(EncryptionPacket(arm ? 3 : 2, firmware.IV.data(), arm ? 4 : 16)).size());
    for (unsigned n = 0; n < firmware.PageCount; ++n) {
        const auto page = static_cast<std::uint16_t>(n);
        const TPacket packet = arm ? EraseProgramPagePacket(page, firmware.PageData(page), firmware.PageSize)
                                   : ProgramPagePacket(page, firmware.PageData(page), firmware.PageSize);
        bytes += static_cast<double>(EncodeFrame(packet).size());
    }
    bytes += static_cast<double>(
        EncodeFrame(arm ? CalculateCrcPacket(firmware.PageCount) : CalculateCrcPacket()).size());
    const double answers = 3.0 * (firmware.PageCount + 2) + 7.0; // C0 frames and the checksum frame
    return bytes + answers;
}

// The simulated bootloader's own time for all packets of one upload.
double AnswerSeconds(const TFirmware& firmware, std::uint8_t hardwareId, bool arm) {
    sim::Bootloader device(hardwareId, 0x05, {});
    const auto start = std::chrono::steady_clock::now();
    const TPacket pattern = StartPatternPacket();
    device.OnPacket(pattern.Data.data(), pattern.Length);
    const TPacket erase = EraseApplicationPacket();
    device.OnPacket(erase.Data.data(), erase.Length);
    const TPacket encryption = EncryptionPacket(arm ? 3 : 2, firmware.IV.data(), arm ? 4 : 16);
    device.OnPacket(encryption.Data.data(), encryption.Length);
    for (unsigned n = 0; n < firmware.PageCount; ++n) {
        const auto page = static_cast<std::uint16_t>(n);
        const TPacket packet = arm ? EraseProgramPagePacket(page, firmware.PageData(page), firmware.PageSize)
                                   : ProgramPagePacket(page, firmware.PageData(page), firmware.PageSize);
        device.OnPacket(packet.Data.data(), packet.Length);
    }
    const TPacket crc = arm ? CalculateCrcPacket(firmware.PageCount) : CalculateCrcPacket();
    device.OnPacket(crc.Data.data(), crc.Length);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_UploadOverPseudoTerminal(benchmark::State& state, TSyntheticFamily family) {
    const bool arm = family == TSyntheticFamily::Arm;
    const std::uint8_t hardwareId = arm ? 0x20 : 0x10;
    sim::SimOptions options;
    options.transport = sim::TransportKind::Pty;
    options.trafficRate = 0;
    options.boot.hardwareId = hardwareId;
    options.boot.restartDelayMs = 0;
    options.ptyLink = "/tmp/kvl-bench-upload-" + std::to_string(::getpid());
    sim::Simulator device(options);
    device.Start();
    TComm comm;
    comm.AddSerialPort("Simulated Korvelan", options.ptyLink);
    if (comm.OpenPort(TCommMode::cmSerial, comm.Ports().back(), 7) != TCommMode::cmSerial) {
        state.SkipWithError("the pseudo-terminal did not open");
        return;
    }
    TFirmware firmware(MakeSyntheticContainer(family));
    firmware.SelectImage(hardwareId);
    TCommPacketLink link(comm);
    TSilentProgress progress;
    for (auto _ : state) {
        state.PauseTiming();
        comm.SendNmea("$PQZXRESET");
        std::string line;
        bool announced = false;
        for (int i = 0; i < 2000 && !announced; ++i) {
            while (comm.TakeLine(line))
                announced = announced || line.rfind("$PQZXLDR", 0) == 0;
            if (!announced)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        state.ResumeTiming();
        arm ? UploadArm(firmware, link, progress) : UploadAvr(firmware, link, progress);
    }
    if (device.BootChecksum() != firmware.CodeCRC)
        state.SkipWithError("the bootloader's checksum differs");
    const double byteSeconds = WireBytes(firmware, arm) * 10.0 / 460800.0;
    state.counters["wire_bytes"] = WireBytes(firmware, arm);
    state.counters["byte_time_ms"] = byteSeconds * 1000.0;
    state.counters["sim_answer_ms"] = AnswerSeconds(firmware, hardwareId, arm) * 1000.0;
}

BENCHMARK_CAPTURE(BM_UploadOverPseudoTerminal, avr, TSyntheticFamily::Avr)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_UploadOverPseudoTerminal, arm, TSyntheticFamily::Arm)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

} // namespace
