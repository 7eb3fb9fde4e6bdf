#include "MidiGenTypes.h"

#include <iterator>

namespace {

const char *const noteNames[mgNoteCount] = {
    "mgC", "mgCsharp", "mgD", "mgDsharp", "mgE", "mgF",
    "mgFsharp", "mgG", "mgGsharp", "mgA", "mgAsharp", "mgB",
};

const char *const channelNames[mgChannelCount] = {
    "mgCh01", "mgCh02", "mgCh03", "mgCh04", "mgCh05", "mgCh06", "mgCh07", "mgCh08",
    "mgCh09", "mgCh10", "mgCh11", "mgCh12", "mgCh13", "mgCh14", "mgCh15", "mgCh16",
};

const char *const instrumentNames[mgInstrumentCount] = {
    "mgAcousticGrandPiano",
    "mgBrightAcousticPiano",
    "mgElectricGrandPiano",
    "mgHonkyTonkPiano",
    "mgElectricPiano1",
    "mgElectricPiano2",
    "mgHarpsichord",
    "mgClavinet",
    "mgCelesta",
    "mgGlockenspiel",
    "mgMusicBox",
    "mgVibraphone",
    "mgMarimba",
    "mgXylophone",
    "mgTubularBells",
    "mgDulcimer",
    "mgDrawbarOrgan",
    "mgPercussiveOrgan",
    "mgRockOrgan",
    "mgChurchOrgan",
    "mgReedOrgan",
    "mgAccordion",
    "mgHarmonica",
    "mgTangoAccordion",
    "mgAcousticNylonGuitar",
    "mgAcousticSteelGuitar",
    "mgJazzElectricGuitar",
    "mgCleanElectricGuitar",
    "mgMutedElectricGuitar",
    "mgOverdrivenGuitar",
    "mgDistortionGuitar",
    "mgGuitarHarmonics",
    "mgAcousticBass",
    "mgFingeredElectricBass",
    "mgPickedElectricBass",
    "mgFretlessBass",
    "mgSlapBass1",
    "mgSlapBass2",
    "mgSynthBass1",
    "mgSynthBass2",
    "mgViolin",
    "mgViola",
    "mgCello",
    "mgContrabass",
    "mgTremoloStrings",
    "mgPizzicatoStrings",
    "mgOrchestralHarp",
    "mgTimpani",
    "mgStringEnsemble1",
    "mgStringEnsemble2",
    "mgSynthStrings1",
    "mgSynthStrings2",
    "mgChoirAahs",
    "mgVoiceOohs",
    "mgSynthVoice",
    "mgOrchestraHit",
    "mgTrumpet",
    "mgTrombone",
    "mgTuba",
    "mgMutedTrumpet",
    "mgFrenchHorn",
    "mgBrassSection",
    "mgSynthBrass1",
    "mgSynthBrass2",
    "mgSopranoSax",
    "mgAltoSax",
    "mgTenorSax",
    "mgBaritoneSax",
    "mgOboe",
    "mgEnglishHorn",
    "mgBassoon",
    "mgClarinet",
    "mgPiccolo",
    "mgFlute",
    "mgRecorder",
    "mgPanFlute",
    "mgBlownBottle",
    "mgShakuhachi",
    "mgWhistle",
    "mgOcarina",
    "mgSquareLead",
    "mgSawtoothLead",
    "mgCalliopeLead",
    "mgChiffLead",
    "mgCharangLead",
    "mgVoiceLead",
    "mgFifthsLead",
    "mgBassandLead",
    "mgNewAgePad",
    "mgWarmPad",
    "mgPolySynthPad",
    "mgChoirPad",
    "mgBowedPad",
    "mgMetallicPad",
    "mgHaloPad",
    "mgSweepPad",
    "mgSynthFXRain",
    "mgSynthFXSoundtrack",
    "mgSynthFXCrystal",
    "mgSynthFXAtmosphere",
    "mgSynthFXBrightness",
    "mgSynthFXGoblins",
    "mgSynthFXEchoes",
    "mgSynthFXSciFi",
    "mgSitar",
    "mgBanjo",
    "mgShamisen",
    "mgKoto",
    "mgKalimba",
    "mgBagpipe",
    "mgFiddle",
    "mgShanai",
    "mgTinkleBell",
    "mgAgogo",
    "mgSteelDrums",
    "mgWoodblock",
    "mgTaikoDrum",
    "mgMelodicTom",
    "mgSynthDrum",
    "mgReverseCymbal",
    "mgGuitarFretNoise",
    "mgBreathNoise",
    "mgSeashore",
    "mgBirdTweet",
    "mgTelephoneRing",
    "mgHelicopter",
    "mgApplause",
    "mgGunshot",
    "mgAcousticBassDrum",
    "mgBassDrum1",
    "mgSideStick",
    "mgAcousticSnare",
    "mgHandClap",
    "mgElectricSnare",
    "mgLowFloorTom",
    "mgClosedHiHat",
    "mgHighFloorTom",
    "mgPedalHiHat",
    "mgLowTom",
    "mgOpenHiHat",
    "mgLowMidTom",
    "mgHiMidTom",
    "mgCrashCymbal1",
    "mgHighTom",
    "mgRideCymbal1",
    "mgChineseCymbal",
    "mgRideBell",
    "mgTambourine",
    "mgSplashCymbal",
    "mgCowbell",
    "mgCrashCymbal2",
    "mgVibraslap",
    "mgRideCymbal2",
    "mgHiBongo",
    "mgLowBongo",
    "mgMuteHiConga",
    "mgOpenHiConga",
    "mgLowConga",
    "mgHighTimbale",
    "mgLowTimbale",
    "mgHighAgogo",
    "mgLowAgogo",
    "mgCabasa",
    "mgMaracas",
    "mgShortWhistle",
    "mgLongWhistle",
    "mgShortGuiro",
    "mgLongGuiro",
    "mgClaves",
    "mgHiWoodBlock",
    "mgLowWoodBlock",
    "mgMuteCuica",
    "mgOpenCuica",
    "mgMuteTriangle",
    "mgOpenTriangle",
};

template<std::size_t N>
QString nameOf(const char *const (&names)[N], int value)
{
    if (value < 0 || value >= int(N))
        return {};
    return QString::fromLatin1(names[value]);
}

template<std::size_t N>
int valueOf(const char *const (&names)[N], QStringView name)
{
    for (std::size_t i = 0; i < N; ++i)
        if (name == QLatin1StringView(names[i]))
            return int(i);
    return -1;
}

} // namespace

QString TMGNoteName(TMGNote value) { return nameOf(noteNames, value); }
QString TMGChannelName(TMGChannel value) { return nameOf(channelNames, value); }
QString TMGInstrumentName(TMGInstrument value) { return nameOf(instrumentNames, value); }

std::optional<TMGNote> TMGNoteFromName(QStringView name)
{
    const int v = valueOf(noteNames, name);
    return v < 0 ? std::nullopt : std::optional(TMGNote(v));
}

std::optional<TMGChannel> TMGChannelFromName(QStringView name)
{
    const int v = valueOf(channelNames, name);
    return v < 0 ? std::nullopt : std::optional(TMGChannel(v));
}

std::optional<TMGInstrument> TMGInstrumentFromName(QStringView name)
{
    const int v = valueOf(instrumentNames, name);
    return v < 0 ? std::nullopt : std::optional(TMGInstrument(v));
}
