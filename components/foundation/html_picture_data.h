// The portable part of THTMLPicture, the picture that HTML captions name:
// the OLE picture's bytes with the frame of an animated GIF to show, the
// source text it was loaded from, and the frame's place in the GIF's
// logical screen.
#pragma once

#include "components/foundation/picture_data.h"

// What a picture's source text names, by its prefix (case ignored):
// "RES://" a resource of the program, "FILE://" a file, anything else a
// web address. Name is the rest of the text after the prefix, as written.
enum TPictureSourceKind { pskResource, pskFile, pskAddress };
struct TPictureSource {
    TPictureSourceKind Kind = pskAddress;
    String Name;
};
TPictureSource ParsePictureSource(const String& text);

// How the renderer's look-ups match: a picture container's item by name,
// ignoring the case of ASCII letters; a picture cache's entry by its ID,
// exactly.
bool SamePictureName(const String& a, const String& b);
inline bool SamePictureID(const String& a, const String& b) { return a == b; }

class THTMLPictureData : public TOlePictureData {
public:
    // Drawn stretched into the rectangle instead of at its own size.
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value) { FStretch = value; }
    // The frame shown (1-based). Writing makes the OLE picture again when
    // there are bytes, then tells the frame change.
    int Frame() const { return FFrame; }
    void SetFrame(int value);
    // The source text the picture was loaded from: the picture cache's key.
    const String& ID() const { return FID; }
    void SetID(const String& value) { FID = value; }
    bool AsyncLoad() const { return FAsyncLoad; }
    void SetAsyncLoad(bool value) { FAsyncLoad = value; }
    bool DownloadBusy() const { return FDownloadBusy; }

    // -1 for bytes that are not a GIF, else the number of frames (counted
    // once for the bytes loaded).
    int CountGifFrames();
    // The shown frame's image descriptor and the GIF's logical screen, as
    // the OLE picture was last made (0 when not a GIF with that frame).
    int FrameLeft() const { return FFrameLeft; }
    int FrameTop() const { return FFrameTop; }
    int FrameWidth() const { return FFrameWidth; }
    int FrameHeight() const { return FFrameHeight; }
    int ScreenWidth() const { return FScreenWidth; }
    int ScreenHeight() const { return FScreenHeight; }
    // The size the renderer lays the picture out at: 0 without an OLE
    // picture, else the GIF's logical screen when it has one, else the OLE
    // picture's size.
    int DisplayWidth() const;
    int DisplayHeight() const;

    // Loads from a resource ("RES://name") or a file ("FILE://name") and
    // sets ID. A web address with AsyncLoad off only sets ID (nothing is
    // fetched); with AsyncLoad on, and no download busy, it marks a
    // download busy (no download is made) and changes nothing else.
    void LoadFromSource(const String& text);

    // What Assign does: the picture empties, shows frame 1 (a frame change
    // when it had bytes) and then takes what the source has:
    // no source: no bytes, then the change;
    void AssignNothing();
    // another HTML picture: its stretch, frame, ID and bytes, the OLE
    // picture, the change;
    void AssignPicture(const THTMLPictureData& source);
    // anything else: the picture stays empty.
    void AssignOther();

protected:
    // The OnFrameChange event.
    virtual void NotifyFrameChange() = 0;
    // Loads the picture from an RT_RCDATA resource of the program: nothing
    // when there is none.
    virtual void LoadBytesFromResource(const String& name) = 0;

    // The OLE picture is made from the selected frame's bytes.
    void RebuildPicture() override;
    void BytesDropped() override;

private:
    // Empty, no OLE picture, frames to be counted again, frame 1.
    void BeginAssign();
    void ResetFrameData();

    bool FStretch = false;
    int FFrame = 1;
    String FID;
    bool FAsyncLoad = true;
    bool FDownloadBusy = false;
    int FFrameCount = -1;
    Word FFrameLeft = 0;
    Word FFrameTop = 0;
    Word FFrameWidth = 0;
    Word FFrameHeight = 0;
    Word FScreenWidth = 0;
    Word FScreenHeight = 0;
};
