// The fixed names of the files in the program folder (the folder of the executable). Every
// window reads and writes its files under these names and nowhere else; the settings and state
// files move to the user's data folder when the program folder cannot be written
// (statefiles.h).
#pragma once

namespace orrindale::files {

// Pictures, scrambled PNGs, only read.
inline constexpr char kPanelPicture[] = "PM91B.dat";
// The same panel as runs of one colour, tied to the bytes of "PM91B.dat": read in its place, as
// long as that file is the one they were made from, without decompressing.
inline constexpr char kPanelRuns[] = "PM91B@1x.dat";
// The same panel drawn at twice the resolution, for screens that scale by two; the 1x picture
// still gives the window its size and outline.
inline constexpr char kPanelPicture2x[] = "PM91B@2x.dat";
inline constexpr char kFunctionCardPicture[] = "HPfncd.dat";
// The function card drawn at twice the resolution; the window keeps the 1x picture's size.
inline constexpr char kFunctionCardPicture2x[] = "HPfncd@2x.dat";
// The peripherals' pictures, each also drawn at twice the resolution (always a scrambled PNG,
// whatever the 1x picture is); as with the panel, the 1x picture gives the size and outline.
inline constexpr char kCardReaderPicture[] = "CR91B.dat";
inline constexpr char kCardReaderPicture2x[] = "CR91B@2x.dat";
inline constexpr char kCardEditorPicture[] = "HP9pgcd.dat";
inline constexpr char kCardEditorPicture2x[] = "HP9pgcd@2x.dat";
inline constexpr char kPlotterPicture[] = "HP9plig.dat";
inline constexpr char kPlotterPicture2x[] = "HP9plig@2x.dat";
inline constexpr char kExtMemoryPicture[] = "mmexig.dat";
inline constexpr char kExtMemoryPicture2x[] = "mmexig@2x.dat";
inline constexpr char kExtMemoryCardPicture[] = "mmexpl.dat";
inline constexpr char kExtMemoryCardPicture2x[] = "mmexpl@2x.dat";

// The plotter's carriage sound.
inline constexpr char kFeedSound[] = "Feed.wav";
// The desktop audio module (audio.h), loaded at the first sound, and the print module
// (choosers.h), loaded at the first print.
inline constexpr char kAudioModule[] = "orrindale_audio.so";
inline constexpr char kPrintModule[] = "orrindale_print.so";

// Help documents.
inline constexpr char kHelpDocument[] = "HP9100BHelp.pdf";
inline constexpr char kCardHelpDocument[] = "CardHelp.pdf";
inline constexpr char kPlotterHelpDocument[] = "PlotterHelp.pdf";
inline constexpr char kExtMemoryHelpDocument[] = "9101A.pdf";

// Settings and state, read at start and written at close.
inline constexpr char kPanelSettings[] = "cce9B.ini";
inline constexpr char kMachineState[] = "cif9B.ini";
inline constexpr char kPaperRoll[] = "pf9B.dat";
inline constexpr char kPlotterSettings[] = "ptdt.ini";
inline constexpr char kCurrentPlot[] = "pvpt.dat";
inline constexpr char kExtMemorySwitches[] = "mmdf.ini";
inline constexpr char kExtMemoryContents[] = "mmexdt.dat";
inline constexpr const char* kStateFiles[] = {kPanelSettings,    kMachineState, kPaperRoll,
                                              kPlotterSettings,  kCurrentPlot,  kExtMemorySwitches,
                                              kExtMemoryContents};

} // namespace orrindale::files
