#pragma once
// How bench_runner drives a pre-started baseline_save.exe, so that both sides
// of the save figure are timed from an external trigger, not from process start.

// baseline_save sets this once it is loaded and waiting.
constexpr const char* kBaselineReady = "Local\\ClipTextBenchReady";
// bench_runner sets this to start the save (the counterpart of the button click).
constexpr const char* kBaselineGo = "Local\\ClipTextBenchGo";
// bench_runner sets this after reading the process's memory figures.
constexpr const char* kBaselineQuit = "Local\\ClipTextBenchQuit";

// Window classes of baseline_window.exe and baseline_required_window.exe.
constexpr const char* kBaselineWindowClass = "BaselineWindow";
constexpr const char* kRequiredBaselineWindowClass = "RequiredBaselineWindow";
