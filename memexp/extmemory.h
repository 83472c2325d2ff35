// The HP 9101A extended memory: 248 registers beside the calculator, reached through FMT.
//
// How the pieces fit: MemoryImage is what the memory holds (its words, protect line, program
// directory and call stack) and is what memoryfile.h reads and writes. ExtMemory is the device:
// it wraps an image, keeps the LINE and FIL switches and the FMT lamp, and answers the engine
// through ExtMemoryPort (engine/ports.h). The window (memwindow.h) owns one ExtMemory, draws its
// switches and lamp and hands the port to the main window while it is open; keyrun attaches one
// without a window. Nothing here shows a message or draws.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "engine/ports.h"
#include "engine/registers.h"

namespace orrindale {

inline constexpr int kMemRegisters = 248;
inline constexpr int kCallDepth = 14;
inline constexpr int kMaxProgramNumber = 99;

struct MemoryImage {
    struct Program {
        int Number = 0;
        int Start = 0; // register of its first step
        bool operator==(const Program&) const = default;
    };
    struct Call {
        int Caller = 0; // program number to reload on return
        int Row = 0, Step = 0;
        bool operator==(const Call&) const = default;
    };

    // Register r word w; as program storage word w is step w of row r.
    std::array<TCalcRegister, kMemRegisters> memWords{};
    int protectLine = 0; // registers below it are write-protected
    std::vector<Program> progDirectory;
    std::array<Call, kCallDepth> callStack{};
    int callTop = 0; // next entry to fill; a ring
    int currentProgram = 0;

    // Every word 0, then ResetMemoryState.
    void ClearMemory();
    // Protect line, directory and call state to their start; the words stay.
    void ResetMemoryState();
    // Index of the first directory entry with this number, or -1.
    int FindProgram(int number) const;
    bool operator==(const MemoryImage&) const = default;
};

// The decimal number a register holds as keyed: words 9, 8, ... up to the first blank word,
// digits above 9 counting as 0. No digits give 0; more than fits an int gives -1.
int MemAddress(const TCalcRegister& r);

class ExtMemory final : public ExtMemoryPort {
public:
    MemoryImage& Image() { return image_; }
    const MemoryImage& Image() const { return image_; }

    bool LineOn() const { return lineOn_; }
    bool FilOn() const { return filOn_; }
    bool FmtLamp() const { return fmtLamp_; }
    // LINE OFF also puts the FMT lamp out.
    void SetLine(bool on);
    void SetFil(bool on) { filOn_ = on; }
    // Called whenever the FMT lamp goes on or out, so that the panel can follow.
    void OnLampChanged(std::function<void()> changed) { lampChanged_ = std::move(changed); }

    // ExtMemoryPort.
    bool On() const override { return lineOn_; }
    ExtResult Arith(long double& y, TCalcRegister& x, int op) override;
    ExtResult Pi(TCalcRegister& x) override;
    ExtResult SetFlag(TCalcRegister& x) override;
    ExtResult StoreY(TCalcRegister& x, TCalcRegister& y) override;
    ExtResult FmtFmt(TCalcRegister& x, ProgramMemory program) override;
    ExtResult GoTo(TCalcRegister& x, ProgramMemory program) override;
    ExtResult End(TCalcRegister& x, ProgramMemory program) override;
    void LampOff() override { SetLamp(false); }

private:
    ExtResult Fail(ExtResult code);
    void SetLamp(bool lit);
    // Copies a stored program into program memory from row 0 step 0 up to its END.
    ExtResult Load(int start, int& endRegister, ProgramMemory program);

    MemoryImage image_;
    bool lineOn_ = false, filOn_ = false, fmtLamp_ = false;
    std::function<void()> lampChanged_;
};

} // namespace orrindale
