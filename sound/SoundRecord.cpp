#include "sound/SoundRecord.h"

#include "core/io/Archive.h"
#include "sound/Sound.h"

#include <initializer_list>

using Misc::Serialization::IArchive;

namespace
{

// One line: the key and the values, separated by single spaces.
bool WriteKeyFloats(IArchive& archive, const char* key, std::initializer_list<float> values)
{
    if (!archive.WriteString(key))
        return false;
    for (float value : values)
    {
        if (!archive.WriteSpaces(1) || !archive.WriteFloat(value, 6))
            return false;
    }
    return archive.EndLine(0);
}

bool ReadKeyFloats(IArchive& archive, const char* key, std::initializer_list<float*> values)
{
    archive.ExpectToken(key);
    for (float* value : values)
    {
        if (!archive.ReadFloat(*value))
            return false;
    }
    return true;
}

bool WriteKeyVector(IArchive& archive, const char* key, const CVector& vector)
{
    return WriteKeyFloats(archive, key, {vector.x, vector.y, vector.z});
}

bool ReadKeyVector(IArchive& archive, const char* key, CVector& vector)
{
    return ReadKeyFloats(archive, key, {&vector.x, &vector.y, &vector.z});
}

} // namespace

CSoundRecord::CSoundRecord(const std::string& soundName, CSound& sound)
    : name(soundName), fileName(sound.GetFilename()), streaming(sound.IsStreaming()),
      looping(sound.IsLooping()), volume(sound.GetVolume()), pitch(sound.GetPitch()),
      rolloff(sound.GetRolloffFactor()), minDistance(sound.GetReferenceDistance()),
      maxDistance(sound.GetMaxDistance()), position(sound.GetPosition()), direction(sound.GetDirection()),
      coneOuterVolume(sound.GetDirectionConeVolumeOuter()), velocity(sound.GetVelocity())
{
    sound.GetDirectionConeAngles(coneInner, coneOuter);
}

bool CSoundRecord::Write(IArchive& archive) const
{
    archive.WriteString("Sound{");
    archive.EndLine(+1);
    const bool written =
        archive.WriteKeyString("-Id", name) && archive.WriteKeyWString("-Filename", fileName) &&
        archive.WriteKeyBool("-Streaming", streaming) && archive.WriteKeyBool("-Looping", looping) &&
        archive.WriteKeyFloat("-Volume", volume) && archive.WriteKeyFloat("-Pitch", pitch) &&
        archive.WriteKeyFloat("-RollOff", rolloff) && archive.WriteKeyFloat("-MinDistance", minDistance) &&
        archive.WriteKeyFloat("-MaxDistance", maxDistance) &&
        WriteKeyVector(archive, "-Position", position) && WriteKeyVector(archive, "-Direction", direction) &&
        WriteKeyFloats(archive, "-DirectionConeAngles", {coneInner, coneOuter, coneOuterVolume}) &&
        WriteKeyVector(archive, "-Velocity", velocity);
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return written;
}

bool CSoundRecord::Read(IArchive& archive)
{
    archive.ExpectToken("Sound{");
    const bool read =
        archive.ReadKeyString("-Id", name) && archive.ReadKeyWString("-Filename", fileName) &&
        archive.ReadKeyBool("-Streaming", streaming) && archive.ReadKeyBool("-Looping", looping) &&
        archive.ReadKeyFloat("-Volume", volume) && archive.ReadKeyFloat("-Pitch", pitch) &&
        archive.ReadKeyFloat("-RollOff", rolloff) && archive.ReadKeyFloat("-MinDistance", minDistance) &&
        archive.ReadKeyFloat("-MaxDistance", maxDistance) && ReadKeyVector(archive, "-Position", position) &&
        ReadKeyVector(archive, "-Direction", direction) &&
        ReadKeyFloats(archive, "-DirectionConeAngles", {&coneInner, &coneOuter, &coneOuterVolume}) &&
        ReadKeyVector(archive, "-Velocity", velocity);
    archive.ExpectToken("}");
    return read;
}

void CSoundRecord::ApplyTo(CSound& sound) const
{
    sound.SetLooping(looping);
    sound.SetVolume(volume);
    sound.SetPitch(pitch);
    sound.SetRolloffFactor(rolloff);
    sound.SetReferenceDistance(minDistance);
    sound.SetMaxDistance(maxDistance);
    sound.SetPosition(position);
    sound.SetDirection(direction);
    sound.SetDirectionConeAngles(coneInner, coneOuter);
    sound.SetDirectionConeVolumeOuter(coneOuterVolume);
    sound.SetVelocity(velocity);
}
