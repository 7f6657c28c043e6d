#include "sound/SoundRecord.h"

#include "core/io/Archive.h"
#include "sound/Sound.h"

using Misc::Serialization::IArchive;

CSoundRecord::CSoundRecord(const std::string& soundName, CSound& sound)
    : name(soundName), fileName(sound.GetFilename()), streaming(sound.IsStreaming()),
      looping(sound.IsLooping()), volume(sound.GetVolume()), pitch(sound.GetPitch()),
      rolloff(sound.GetRolloffFactor()), minDistance(sound.GetReferenceDistance()),
      maxDistance(sound.GetMaxDistance())
{
    position = sound.GetPosition();
    direction = sound.GetDirection();
    sound.GetDirectionConeAngles(cone.inner, cone.outer);
    cone.outerVolume = sound.GetDirectionConeVolumeOuter();
    velocity = sound.GetVelocity();
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
        archive.WriteKeyFloat("-MaxDistance", maxDistance) && position.Write(archive) &&
        direction.Write(archive) && cone.Write(archive) && velocity.Write(archive);
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return written;
}

bool CSoundRecord::Read(IArchive& archive)
{
    archive.ExpectToken("Sound{");
    const bool read = archive.ReadKeyString("-Id", name) && archive.ReadKeyWString("-Filename", fileName) &&
                      archive.ReadKeyBool("-Streaming", streaming) &&
                      archive.ReadKeyBool("-Looping", looping) && archive.ReadKeyFloat("-Volume", volume) &&
                      archive.ReadKeyFloat("-Pitch", pitch) && archive.ReadKeyFloat("-RollOff", rolloff) &&
                      archive.ReadKeyFloat("-MinDistance", minDistance) &&
                      archive.ReadKeyFloat("-MaxDistance", maxDistance) && position.Read(archive) &&
                      direction.Read(archive) && cone.Read(archive) && velocity.Read(archive);
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
    sound.SetDirectionConeAngles(cone.inner, cone.outer);
    sound.SetDirectionConeVolumeOuter(cone.outerVolume);
    sound.SetVelocity(velocity);
}
