-- Rows that wixl cannot write, added to the built package by make-msi.sh
-- with msibuild, one statement per line ("--" lines are notes).
--
-- Each DLL registers itself: its own regsvr32 (the 64-bit one from
-- System64Folder, the 32-bit one from SystemFolder) runs DllRegisterServer in
-- a process of the DLL's bitness, deferred and in the system context, after
-- the files are in place; a failure fails the installation, whose rollback
-- unregisters again. On removal each DLL unregisters before the files go;
-- that never blocks removal (a DLL unregistered by hand before answers
-- ERROR_FILE_NOT_FOUND). The 32-bit DLL registers only where a 32-bit
-- regsvr32 exists, that is where 32-bit programs can run.
--
-- Types: 34 = program in a directory, +1024 deferred, +1280 rollback,
-- +2048 not impersonated, +64 exit code ignored.
--
INSERT INTO `Signature` (`Signature`, `FileName`) VALUES ('Wow64Regsvr32', 'regsvr32.exe')
CREATE TABLE `DrLocator` (`Signature_` CHAR(72) NOT NULL, `Parent` CHAR(72), `Path` CHAR(255), `Depth` SHORT PRIMARY KEY `Signature_`, `Parent`, `Path`)
INSERT INTO `DrLocator` (`Signature_`, `Path`, `Depth`) VALUES ('Wow64Regsvr32', '[SystemFolder]', 0)
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('WOW64_REGSVR32', 'Wow64Regsvr32')
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('AppSearch', 50)
--
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('QmUnregister64Undo', 3426, 'System64Folder', '"[System64Folder]regsvr32.exe" /s "[QmFolder64]QuorvaneMarrowby.dll"')
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('QmUnregister64', 3170, 'System64Folder', '"[System64Folder]regsvr32.exe" /s /u "[QmFolder64]QuorvaneMarrowby.dll"')
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('QmUnregister32Undo', 3426, 'SystemFolder', '"[SystemFolder]regsvr32.exe" /s "[QmFolder32]QuorvaneMarrowby.dll"')
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('QmUnregister32', 3170, 'SystemFolder', '"[SystemFolder]regsvr32.exe" /s /u "[QmFolder32]QuorvaneMarrowby.dll"')
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('QmRegister64Undo', 3426, 'System64Folder', '"[System64Folder]regsvr32.exe" /s /u "[QmFolder64]QuorvaneMarrowby.dll"')
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('QmRegister64', 3106, 'System64Folder', '"[System64Folder]regsvr32.exe" /s "[QmFolder64]QuorvaneMarrowby.dll"')
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('QmRegister32Undo', 3426, 'SystemFolder', '"[SystemFolder]regsvr32.exe" /s /u "[QmFolder32]QuorvaneMarrowby.dll"')
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('QmRegister32', 3106, 'SystemFolder', '"[SystemFolder]regsvr32.exe" /s "[QmFolder32]QuorvaneMarrowby.dll"')
--
-- Unregistration where RemoveFiles' slot begins (the 64-bit DLL first: on
-- 64-bit Windows both DLLs share the shell's keys, and 64-bit Explorer is the
-- one that must not keep stale ones); registration after InstallFiles.
-- An undo action comes before the action it undoes.
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('QmUnregister64Undo', '?QmDll64=3 AND $QmDll64=2', 2196)
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('QmUnregister64', '?QmDll64=3 AND $QmDll64=2', 2197)
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('QmUnregister32Undo', '?QmDll32=3 AND $QmDll32=2 AND WOW64_REGSVR32', 2198)
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('QmUnregister32', '?QmDll32=3 AND $QmDll32=2 AND WOW64_REGSVR32', 2199)
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('QmRegister64Undo', '$QmDll64=3', 5596)
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('QmRegister64', '$QmDll64=3', 5597)
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('QmRegister32Undo', '$QmDll32=3 AND WOW64_REGSVR32', 5598)
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES ('QmRegister32', '$QmDll32=3 AND WOW64_REGSVR32', 5599)
