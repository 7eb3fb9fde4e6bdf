#pragma once

// Enumerations of the MIDI generator and their names. Each value's ordinal is
// its position, from 0; names are looked up both ways for tools and storage.

#include <QString>
#include <QStringView>
#include <optional>

// Pitch class within an octave.
enum TMGNote : int {
    mgC, mgCsharp, mgD, mgDsharp, mgE, mgF, mgFsharp, mgG, mgGsharp, mgA, mgAsharp, mgB
};

// MIDI channel; the ordinal is the channel number in the status byte, so
// mgCh10 (9) is the General MIDI percussion channel.
enum TMGChannel : int {
    mgCh01, mgCh02, mgCh03, mgCh04, mgCh05, mgCh06, mgCh07, mgCh08,
    mgCh09, mgCh10, mgCh11, mgCh12, mgCh13, mgCh14, mgCh15, mgCh16
};

// 0..127: General MIDI programs (ordinal = program number).
// 128..174: General MIDI percussion sounds; ordinal i plays key i - 93.
enum TMGInstrument : int {
    mgAcousticGrandPiano,
    mgBrightAcousticPiano,
    mgElectricGrandPiano,
    mgHonkyTonkPiano,
    mgElectricPiano1,
    mgElectricPiano2,
    mgHarpsichord,
    mgClavinet,
    mgCelesta,
    mgGlockenspiel,
    mgMusicBox,
    mgVibraphone,
    mgMarimba,
    mgXylophone,
    mgTubularBells,
    mgDulcimer,
    mgDrawbarOrgan,
    mgPercussiveOrgan,
    mgRockOrgan,
    mgChurchOrgan,
    mgReedOrgan,
    mgAccordion,
    mgHarmonica,
    mgTangoAccordion,
    mgAcousticNylonGuitar,
    mgAcousticSteelGuitar,
    mgJazzElectricGuitar,
    mgCleanElectricGuitar,
    mgMutedElectricGuitar,
    mgOverdrivenGuitar,
    mgDistortionGuitar,
    mgGuitarHarmonics,
    mgAcousticBass,
    mgFingeredElectricBass,
    mgPickedElectricBass,
    mgFretlessBass,
    mgSlapBass1,
    mgSlapBass2,
    mgSynthBass1,
    mgSynthBass2,
    mgViolin,
    mgViola,
    mgCello,
    mgContrabass,
    mgTremoloStrings,
    mgPizzicatoStrings,
    mgOrchestralHarp,
    mgTimpani,
    mgStringEnsemble1,
    mgStringEnsemble2,
    mgSynthStrings1,
    mgSynthStrings2,
    mgChoirAahs,
    mgVoiceOohs,
    mgSynthVoice,
    mgOrchestraHit,
    mgTrumpet,
    mgTrombone,
    mgTuba,
    mgMutedTrumpet,
    mgFrenchHorn,
    mgBrassSection,
    mgSynthBrass1,
    mgSynthBrass2,
    mgSopranoSax,
    mgAltoSax,
    mgTenorSax,
    mgBaritoneSax,
    mgOboe,
    mgEnglishHorn,
    mgBassoon,
    mgClarinet,
    mgPiccolo,
    mgFlute,
    mgRecorder,
    mgPanFlute,
    mgBlownBottle,
    mgShakuhachi,
    mgWhistle,
    mgOcarina,
    mgSquareLead,
    mgSawtoothLead,
    mgCalliopeLead,
    mgChiffLead,
    mgCharangLead,
    mgVoiceLead,
    mgFifthsLead,
    mgBassandLead,
    mgNewAgePad,
    mgWarmPad,
    mgPolySynthPad,
    mgChoirPad,
    mgBowedPad,
    mgMetallicPad,
    mgHaloPad,
    mgSweepPad,
    mgSynthFXRain,
    mgSynthFXSoundtrack,
    mgSynthFXCrystal,
    mgSynthFXAtmosphere,
    mgSynthFXBrightness,
    mgSynthFXGoblins,
    mgSynthFXEchoes,
    mgSynthFXSciFi,
    mgSitar,
    mgBanjo,
    mgShamisen,
    mgKoto,
    mgKalimba,
    mgBagpipe,
    mgFiddle,
    mgShanai,
    mgTinkleBell,
    mgAgogo,
    mgSteelDrums,
    mgWoodblock,
    mgTaikoDrum,
    mgMelodicTom,
    mgSynthDrum,
    mgReverseCymbal,
    mgGuitarFretNoise,
    mgBreathNoise,
    mgSeashore,
    mgBirdTweet,
    mgTelephoneRing,
    mgHelicopter,
    mgApplause,
    mgGunshot,
    mgAcousticBassDrum, // key 35
    mgBassDrum1, // key 36
    mgSideStick, // key 37
    mgAcousticSnare, // key 38
    mgHandClap, // key 39
    mgElectricSnare, // key 40
    mgLowFloorTom, // key 41
    mgClosedHiHat, // key 42
    mgHighFloorTom, // key 43
    mgPedalHiHat, // key 44
    mgLowTom, // key 45
    mgOpenHiHat, // key 46
    mgLowMidTom, // key 47
    mgHiMidTom, // key 48
    mgCrashCymbal1, // key 49
    mgHighTom, // key 50
    mgRideCymbal1, // key 51
    mgChineseCymbal, // key 52
    mgRideBell, // key 53
    mgTambourine, // key 54
    mgSplashCymbal, // key 55
    mgCowbell, // key 56
    mgCrashCymbal2, // key 57
    mgVibraslap, // key 58
    mgRideCymbal2, // key 59
    mgHiBongo, // key 60
    mgLowBongo, // key 61
    mgMuteHiConga, // key 62
    mgOpenHiConga, // key 63
    mgLowConga, // key 64
    mgHighTimbale, // key 65
    mgLowTimbale, // key 66
    mgHighAgogo, // key 67
    mgLowAgogo, // key 68
    mgCabasa, // key 69
    mgMaracas, // key 70
    mgShortWhistle, // key 71
    mgLongWhistle, // key 72
    mgShortGuiro, // key 73
    mgLongGuiro, // key 74
    mgClaves, // key 75
    mgHiWoodBlock, // key 76
    mgLowWoodBlock, // key 77
    mgMuteCuica, // key 78
    mgOpenCuica, // key 79
    mgMuteTriangle, // key 80
    mgOpenTriangle, // key 81
};

constexpr int mgNoteCount = 12;
constexpr int mgChannelCount = 16;
constexpr int mgInstrumentCount = 175;
constexpr int mgFirstPercussion = 128;
// The channel number of General MIDI percussion (channel 10).
constexpr int mgPercussionChannel = 9;

QString TMGNoteName(TMGNote value);
QString TMGChannelName(TMGChannel value);
QString TMGInstrumentName(TMGInstrument value);

// Exact, case-sensitive lookup of a name; nothing for an unknown name.
std::optional<TMGNote> TMGNoteFromName(QStringView name);
std::optional<TMGChannel> TMGChannelFromName(QStringView name);
std::optional<TMGInstrument> TMGInstrumentFromName(QStringView name);
