--! stdout: CHECKS PASSED
-- Every script interface holds exactly its documented functions: one line
-- of this table per interface (an interface that gets its functions adds
-- its line).
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local expected = {
    IApp = [[getThreadState getScriptManager getThreadIdFromOS loadScript loadScriptEx runScriptBuffer
        callScript clearScriptData getAppName getAppCopyright getAppWebsite getAppMajorVersion
        getAppMinorVersion testAppVersion getAppBuildDate getAppBuildTime getExeFilePath getExeFileName
        getOperatingSystemVersion getProcessorSpeed getMemoryTotal getMemoryFree run tick stop
        isThrottlingEnabled enableThrottling getTotalFrames getTotalProcessingTime getTotalFrameTime
        getAveProcessingTime getAveFrameTime enableFrameCounter isFrameCounterEnabled showConsoleWindow
        hideConsoleWindow isConsoleWindowVisible getConsoleWindowHandle setConsoleCaption getConsoleCaption
        setConsoleIcon getBasePath setBasePath addSearchPath addSearchZip addSearchZipDecompressed
        enableSearchCache isSearchCacheEnabled clearSearchCache clearSearchPaths clearAllSearchPaths
        getFilenameFromFileSystem getFilenameListFromFileSystem findFirstFile findRandomFile fileExists
        fileIsRelative fileCopy fileDelete extractFilenameComponents pathExists pathCreate pathDelete pathCopy
        pathMove pathClean loadOptions saveOptions clearOptions clearOption optionExists getOption setOption
        getOptionBool setOptionBool getOptionInt setOptionInt getOptionFloat setOptionFloat forEachOption
        getSystemTime getTime getTranslatorFilename loadTranslations loadSingleTranslation saveTranslations
        setTranslation clearTranslations clearTranslation translate translateCode forEachTranslation
        shellExecute showWindow sleep showMessageBoxYesNo showMessageBoxYesNoCancel showMessageBoxOk
        showMessageBoxOkCancel showMessageBoxRetryCancel showOpenFileDialog showSaveFileDialog
        showBrowseDialog showBrowseDialogEx]],
    IState = "getName queueEx setErrorHandler setDefaultErrorHandler queue reset",
    ILog = "setOutputLevel getOutputLevel setSystemLevel getSystemLevel write writePublish",
    IMisc = [[classDefine classCreateInstance classCreateInstanceUD classAttach pointCreate
        pointCreateFromString pointSubtract pointAdd pointMultiply pointDivide pointNegative pointIsZero
        pointLessThan pointLessThanEqual pointGreaterThan pointGreaterThanEqual pointEqual pointDotProduct
        pointGetDistanceFrom pointGetDistanceFromFast pointGetDistanceSquaredFrom pointGetLength
        pointGetLengthFast pointGetLengthSquared pointNormalise pointNormaliseFast pointAbs pointGetX pointGetY
        vectorCreate vectorCreateFromString vectorSubtract vectorAdd vectorMultiply vectorDivide vectorNegative
        vectorIsZero vectorLessThan vectorLessThanEqual vectorGreaterThan vectorGreaterThanEqual vectorEqual
        vectorCrossProduct vectorAbs vectorDotProduct vectorGetDistanceFrom vectorGetDistanceFromFast
        vectorGetDistanceSquaredFrom vectorGetLength vectorGetLengthFast vectorGetLengthSquared vectorMax
        vectorMaxAbs vectorMin vectorMinAbs vectorGetX vectorGetY vectorGetZ vectorNormalise vectorNormaliseFast
        rectCreate rectCreateFromString rectSubtract rectAdd rectMultiply rectDivide rectNegative rectIntersect
        rectIsZero rectLessThan rectLessThanEqual rectGreaterThan rectGreaterThanEqual rectEqual
        rectIsPointInside rectAbs rectGetX1 rectGetY1 rectGetX2 rectGetY2 rectGetWidth rectGetHeight
        rectGetUpperLeftPoint rectGetUpperRightPoint rectGetLowerLeftPoint rectGetLowerRightPoint lineCreate
        lineClosestPoint lineGetStart lineGetEnd boxCreate boxExtendBox boxExtendPoint boxGetCentre
        boxGetVertices boxGetExtents boxGetMin boxGetMax boxIntersectsBox boxIntersectsLine boxPointInside
        colorCreate colorCreateFromString colorGetR colorGetG colorGetB colorGetA getLookAtRotations
        getRotationsAboutAxis rotationAdd rotationSubtract rotationSlerp rotateVector getOrientation
        getOrientationCross transformVector untransformVector]],
    IEvents = [[subscribeLog subscribeClose subscribeState subscribeRun subscribeGui subscribeKey
        subscribeMouse subscribeMouseButton subscribeTick subscribeTickPeriodic subscribeTickSingle
        subscribeTickGraphics subscribeTickPhysics subscribeCameraChange subscribeAnimationComplete
        subscribeDrawPreScene subscribeDrawPostScene subscribeDrawPreGui subscribeDrawPostGui
        subscribeActivated subscribeLeaveWorld subscribeCollisionEnter subscribeCollisionExit
        subscribeEntityActivated subscribeEntityLeaveWorld subscribeEntityCollisionEnter
        subscribeEntityCollisionExit subscribeWorldSave subscribeWorldDataLoad subscribeWorldGraphicsLoad
        subscribeWorldPhysicsLoad subscribeWorldSoundLoad subscribeWorldLoad subscribeWorldUnload
        subscribeUserEvent setUserData setTickPeriod setPriority unsubscribe enableInteractiveMode enableGui
        isGuiEnabled enableKey isKeyEnabled enableMouse isMouseEnabled publishUserEvent publishGuiEvent
        publishKeyEvent publishKeyClickEvents publishMouseEvent subscribeEvent unsubscribeEvent]],
    IGraphics = [[init initEx initEx2 isInitialised destroy lock getCurrentDriverName getCurrentVideoModeDepth
        getCurrentVideoModeWidth getCurrentVideoModeHeight getCurrentWindowHandle isWindowActive getDesktopWidth
        getDesktopHeight setDesiredFrameRate getDesiredFrameRate getTotalFrames getTotalProcessingTime
        getAveProcessingTime enableFrameCounter isFrameCounterEnabled setBackgroundRenderingEnabled
        getBackgroundRenderingEnabled getNumberOfVideoModes getVideoModeDepth getVideoModeWidth getVideoModeHeight
        forEachVideoMode queryFeature draw enableBackBuffer isBackBufferEnabled enableZBuffer isZBufferEnabled
        screenShot getWorldMin getWorldMax getAmbientColor setAmbientColor getBackColor setBackColor draw2DLine
        draw2DBox draw2DBoxClipped draw2DRectangle draw2DRectangleClipped draw2DRectangleGradient
        draw2DRectangleGradientClipped draw2DCircle draw2DImage draw2DImageScaled draw3DLine draw3DBox
        draw3DTriangle drawText getTextDimensions clearCache getNumberOfLoadedTextures getNumberOfLoadedMeshes
        mapTextureExtension mapMeshExtension getTextureSpeedOptimized setTextureSpeedOptimized
        getTextureQualityOptimized setTextureQualityOptimized getTextureMipMapping setTextureMipMapping
        textureExists createTexture loadTexture unloadTexture getTexturePitch getTextureColorFormat
        getTextureMipMapsExist textureMipMapsRegenerate getTextureOriginalSize getTextureSize textureLock
        textureUnlock textureGetPixel textureSetPixel textureWriteData textureWriteDataRaw textureCopyData
        textureCreateAlphaChannelFromColor textureCreateAlphaChannelFromPos textureCreateNormalMap
        textureWriteToFile getRenderTargetDimensions renderTargetExists removeRenderTarget removeAllRenderTarget
        addLowLevelShader addHighLevelShader getEngineDevice
        createWindow createButton createImage createText createEditText createSpinbox isButtonDown setButtonImage
        getButtonImage setButtonActiveImage getButtonActiveImage setButtonFont getButtonFont isButtonBorderEnabled
        setButtonBorderEnabled setButtonSprite setButtonType getButtonType setButtonAlphaEnabled isButtonAlphaEnabled
        setButtonState setEditTextColor getEditTextColor setEditTextBorder getEditTextBorder setEditTextFont
        getEditTextFont setEditTextMaxChars getEditTextMaxChars setEditTextSelection getEditTextSelection
        setEditTextPasswordEnabled getEditTextPasswordEnabled setEditTextAutoScrollEnabled
        setEditTextMultilineEnabled getEditTextMultilineEnabled setEditTextAlignment
        getEditTextAlignmentHorizontal getEditTextAlignmentVertical setStaticTextColor getStaticTextColor
        setStaticTextBackgroundColor getStaticTextBackgroundColor setStaticTextFont getStaticTextFont
        setStaticTextWordWrap getStaticTextWordWrap setStaticTextBorder getStaticTextBorder setStaticTextBackground
        getStaticTextBackground setStaticTextAlignment getStaticTextAlignmentHorizontal
        getStaticTextAlignmentVertical getStaticTextWidth getStaticTextHeight setSpinboxValue getSpinboxValue
        setSpinboxStepSize getSpinboxStepSize setSpinboxDecimals getSpinboxDecimals setSpinboxRange
        getSpinboxMinValue getSpinboxMaxValue setImageTexture getImageTexture setImageAlphaEnabled
        getImageAlphaEnabled setImageScaleEnabled getImageScaleEnabled getWindowCaption setWindowCaption
        setWindowIcon setWindowParams getWindowStyle writeClipboard readClipboard getFrameRate getNumberOfTris
        createCheckbox getCheckbox setCheckbox controlExists controlType getControlFocus setControlFocus
        getControlAtPoint getControlParentId getControlChildIds changeControlId getGuiParent setGuiParent
        removeControl removeChildren forEachControl controlExited controlEntered controlHovered controlLeft
        controlDestroyed buttonClicked scrollBarChanged checkboxClicked listChanged listSelected messageBoxYes
        messageBoxNo messageBoxOk messageBoxCancel editEnterClicked tabControlChanged menuClicked comboChanged
        spinboxClicked tableCellChanged tableColumnActivated tableCellSelected controlConflictId
        isControlVisible setControlVisible isControlEnabled setControlEnabled isControlClipped
        setControlClipped bringControlToFront getControlText setControlText getControlFloat setControlFloat
        getControlInt setControlInt getControlTabStop setControlTabStop getControlTabOrder setControlTabOrder
        getControlTabGroup setControlTabGroup getControlTabGroupOwner setControlAlignment
        getControlAlignmentLeft getControlAlignmentTop getControlAlignmentRight getControlAlignmentBottom
        setControlMinSize getControlMinSize setControlMaxSize getControlMaxSize moveControlPos setControlPos
        setControlPosPoint setControlSize setControlSizePoint getControlPos getControlPosAbsolute
        getControlCenter getControlPosX getControlPosY getControlSize getControlWidth getControlHeight
        createCombobox createListbox setListboxBackgroundVisible getListboxBackgroundVisible getListboxCount
        setListboxText setListboxIcon getListboxText findListboxText getListboxData findListboxData
        getListboxIcon setListboxLineColor getListboxLineColor clearListboxLineColor getListboxSelection
        setListboxSelection setListboxSelectedText setListboxSelectedData getListboxSelectedText
        getListboxSelectedData addListboxItem insertListboxItem setListboxData removeListboxItem clearListbox
        makeListboxItemVisible getComboboxCount setComboMaxVisibleItems getComboMaxVisibleItems setComboboxText
        getComboboxText findComboboxText getComboboxData setComboboxData findComboboxData getComboboxSelection
        setComboboxSelection getComboboxSelectedText getComboboxSelectedData setComboboxSelectedText
        setComboboxSelectedData addComboboxItem insertComboboxItem removeComboboxItem clearCombobox
        createTable getTableBackgroundEnabled setTableBackgroundEnabled addTableColumn removeTableColumn
        getTableColumnCount getTableColumnText setTableColumnText getTableColumnWidth setTableColumnWidth
        getTableColumnOrdering setTableColumnOrdering getTableActiveColumn setTableActiveColumn
        getTableResizableColumns setTableResizableColumns addTableRow removeTableRow removeTableAllRows
        getTableRowCount getTableSelectedRow setTableSelectedRow swapTableRows orderTable getTableCellText
        setTableCellText getTableCellData setTableCellData getTableCellColor setTableCellColor
        getTableDrawFlags setTableDrawFlags getTableMoveOverSelect setTableMoveOverSelect clearTable
        createMenu createContextMenu createSubMenu createMenuItem createMenuSeparator createToolbar
        createToolbarButton getMenuCount getMenuItemId hasMenuGotSubMenu isMenuItemEnabled setMenuItemEnabled
        isMenuItemChecked setMenuItemChecked getMenuItemLabel setMenuItemLabel clearMenu
        createTabControl createTabPage createTab createScrollBar setScrollBarLimit getScrollBarLimit
        getScrollBarStep getScrollBarStepLarge setScrollBarHorizontal getScrollBarHorizontal setScrollBarPos
        getScrollBarPos getTabCount getActiveTab setActiveTab getTabId setTabControlBackground
        getTabControlBackground setTabControlBorder getTabControlBorder setTabPageBackground
        getTabPageBackground setTabPageColor getTabPageColor
        loadGui removeGui saveGui saveGuiControl setFader clearFader doFadeIn doFadeOut getFaderColor
        getFaderInTime getFaderOutTime isFaderComplete showMessageBox showMessageBoxYesNo showMessageBoxOk
        showMessageBoxOkCancel showOpenDialog getOpenDialogFilename openDialogFileSelected openDialogCancelled
        createTooltip removeTooltip tooltipExists getTooltipLabel createShortcut shortcutExists
        shortcutExistsAny getShortcutEventType getShortcutKeyCode getShortcutShiftOn getShortcutControlOn
        removeShortcuts removeAllShortcuts createScroller removeScroller addToScroller rayCast rayCastFilter
        rayCastAll rayCastMousePosition rayCastMousePositionFilter rayCastMousePositionAll isInLineOfSight
        loadSpriteBank saveSpriteBank spriteBankEntryExists getSpriteBankCount clearSpriteBank
        addSpriteBankEntry addSpriteToScreen screenSpriteExists getSpriteScreenPosition
        getSpriteScreenPositionAbsolute getSpriteScreenDimensions getSpriteScreenDimensionsAbsolute
        setSpriteScreenPosition changeSpriteColor removeSpriteFromScreen removeAllSpritesFromScreen
        createFontTool destroyFontTool getCharsets getFontnames createFont
        isInside rayCastPolygon createRenderTarget setRenderTargetCameraId getRenderTargetCameraId
        getScreenPosFrom3DPos getEntityAmbientColor getEntityDiffuseColor getEntitySpecularColor
        getEntityEmissiveColor getEntityShininess getEntityMaterialType getEntityMaterialTypeParam
        getEntityTextureName getEntityMaterialCount setEntityAmbientColor setEntityDiffuseColor
        setEntitySpecularColor setEntityEmissiveColor setEntityShininess setEntityMaterialType
        setEntityMaterialTypeParam setEntityTextureName isEntityInitialised isEntityVisible setEntityVisible
        refreshEntity getEntityLightingEnabled setEntityLightingEnabled getEntityFogEnabled setEntityFogEnabled
        getEntitySolid setEntitySolid getEntityGouraud setEntityGouraud getEntityZBufferEnabled
        setEntityZBufferEnabled getEntityZBufferWriteEnabled setEntityZBufferWriteEnabled getMeshId
        getNumberOfMeshVertices getMeshVertexColor setMeshVertexColor getMeshVertexPosition
        setMeshVertexPosition getMeshVertexNormal setMeshVertexNormal getMeshVertexUV setMeshVertexUV
        getBoundingBox getEntityVertices getEntityFaces getBillboardVertexColor setBillboardVertexColor
        getBillboardVertexUV setBillboardVertexUV setEntityAnimation setEntityAnimationEx
        setEntityAnimationSpeed setEntityAnimationLooping setEntityAnimationFrames getEntityAnimationStartFrame
        getEntityAnimationEndFrame getEntityAnimationFrameCount getEntityAnimationFrameRate
        getEntityAnimationLooping getEntityAnimationFrame setEntityAnimationFrame isAnimationComplete
        getEntityJointName getEntityJointPosition getEntityJointRotation getEntityJointScale
        getEntityJointTransformation setEntityJointMode animateEntityJoints animateEntityJointsAuto
        attachToEntity removeEntityAttachment getEntityAttachment getEntityAbsolutePosition
        getEntityAbsoluteRotation getEntityAbsoluteScale]],
    ISkin = [[activate deactivate isInitialised getSkinName save setFont getFont getFontTextureCount
        getFontTextureName getNumberOfFonts forEachFont getColor setColor getSize setSize getText setText
        getImageCount setImage getImage clearImage clearAllImages forEachImage setGuiAlpha
        areHighlightsEnabled enableHighlights]],
    IKey = [[getch clear reset addActionKeyCode removeAction actionExists loadCodes saveCodes forEachKeyCode
        getActionKeyCount getActionKeyCode setActionKeyCode getActionKeyCodeHex getActionKeyDescription
        setActionKeyDescription getActionKeyShiftState setActionKeyShiftState getActionKeyControlState
        setActionKeyControlState isActionKeyOn isActionKeyToggled isActionOn setActionOn isActionToggled
        setActionToggled isActionClicked]],
    ISound = [[init destroy isInitialised lock setDesiredFrameRate getDesiredFrameRate getTotalFrames
        getTotalProcessingTime getAveProcessingTime enableFrameCounter isFrameCounterEnabled getCurrentDriverName
        getNumberOfSoundDrivers getSoundDriverName getSoundDriverVersionMajor getSoundDriverVersionMinor
        getSoundDriverMaxSources getSoundDriverDefault querySoundDriverFeature forEachSoundDriver getGlobalVolume
        setGlobalVolume getDistanceModel setDistanceModel getSpeedOfSound setSpeedOfSound getDopplerFactor
        setDopplerFactor setListenerPosition enableAutoManagedCamera getAutoManagedCamera getNumberOfSounds
        mapSoundExtension load soundExists getSoundFilename isStreamMode play stop rewind pause isPlaying isPaused
        isStopped unload unloadAll getVolume setVolume getPitch setPitch isLooping setLooping getMaxDistance
        setMaxDistance getReferenceDistance setReferenceDistance getRolloffFactor setRolloffFactor getPosition
        setPosition setVelocity getDirection setDirection getDirectionConeAngleInner getDirectionConeAngleOuter
        getDirectionConeVolumeOuter setDirectionConeAngleParams getPlayPosition setPlayPosition forEachSound
        attachEntitySound detachEntitySound detachAllEntitySounds refreshEntity getNumberOfEntitySounds
        forEachEntitySound]],
    IMouse = [[leftButtonDown rightButtonDown centreButtonDown leftButtonClicked rightButtonClicked
        centreButtonClicked wheelMoved setPosition setPositionPoint getX getY getPosition show isVisible setType]],
}

for interface, list in pairs(expected) do
    local table = debug.getmetatable(_G[interface])
    local wanted = {}
    for name in string.gmatch(list, "%S+") do
        wanted[name] = true
        check.eq(type(table[name]), "function", interface .. "." .. name)
    end
    for name in pairs(table) do
        if name ~= "__index" and name ~= "__metatable" then
            check.truthy(wanted[name], interface .. " has no undocumented function " .. name)
        end
    end
end
check.done()
