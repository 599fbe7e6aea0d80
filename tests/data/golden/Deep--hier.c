//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Hierarchical Switch-case state. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Exported function: void C0(void);
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Initialization proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  int level;

// [Child:  C1]
    int level;
  
  // [Child:  C2]
      int level;
         
    
    
    // [Child:  C3]
        int level;
           
      
      
      // [Child:  C4]
          int level;

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Initialization proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Entry flags (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  static unsigned char entryFsmFlg = 0;
  static unsigned char entryFsmFlg_1 = 0;
  static unsigned char entryFsmFlg_1_1 = 0;
  static unsigned char entryFsmFlg_1_1_1 = 0;
  static unsigned char entryFsmFlg_1_1_1_1 = 0;
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Entry flags (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Automatic initialization (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
 // States index.
  #define  i_IDLE  0
  #define  i_BUSY  1

 // Index variable.
static unsigned char ind_C0 = i_IDLE;

// Macros & functions.
// Force the FSM to the initial state.
#define C0_Init() { ind_C0 = i_IDLE; entryFsmFlg = 0; }

// This is not a history FSM.
#define _C0_Init()  {C0_Init(); /* Children: */ _C1_Init();}


// [Child:  C1]
   // States index.
    #define  i_1_IDLE  0
    #define  i_1_BUSY  1
  
   // Index variable.
  static unsigned char ind_1_C1 = i_1_IDLE;
  
  // Macros & functions.
  // Force the FSM to the initial state.
  #define C1_Init() { ind_1_C1 = i_1_IDLE; entryFsmFlg_1 = 0; }
  
  // This is not a history FSM.
  #define _C1_Init()  {C1_Init(); /* Children: */ _C2_Init();}
  
  
  // [Child:  C2]
     // States index.
      #define  i_1_1_IDLE  0
      #define  i_1_1_BUSY  1
    
     // Index variable.
    static unsigned char ind_1_1_C2 = i_1_1_IDLE;
    
    // Macros & functions.
    // Force the FSM to the initial state.
    #define C2_Init() { ind_1_1_C2 = i_1_1_IDLE; entryFsmFlg_1_1 = 0; }
    
    // This is not a history FSM.
    #define _C2_Init()  {C2_Init(); /* Children: */ _C3_Init();}
    
    
    // [Child:  C3]
       // States index.
        #define  i_1_1_1_IDLE  0
        #define  i_1_1_1_BUSY  1
      
       // Index variable.
      static unsigned char ind_1_1_1_C3 = i_1_1_1_IDLE;
      
      // Macros & functions.
      // Force the FSM to the initial state.
      #define C3_Init() { ind_1_1_1_C3 = i_1_1_1_IDLE; entryFsmFlg_1_1_1 = 0; }
      
      // This is not a history FSM.
      #define _C3_Init()  {C3_Init(); /* Children: */ _C4_Init();}
      
      
      // [Child:  C4]
         // States index.
          #define  i_1_1_1_1_IDLE  0
          #define  i_1_1_1_1_BUSY  1
        
         // Index variable.
        static unsigned char ind_1_1_1_1_C4 = i_1_1_1_1_IDLE;
        
        // Macros & functions.
        // Force the FSM to the initial state.
        #define C4_Init() { ind_1_1_1_1_C4 = i_1_1_1_1_IDLE; entryFsmFlg_1_1_1_1 = 0; }
        
        // This is not a history FSM.
        #define _C4_Init()  {C4_Init(); /* Children: */ }
        
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Automatic initialization (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Local child functions  (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  static void C1(void);
  static void C2(void);
  static void C3(void);
  static void C4(void);
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Local child functions  (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// FSM dispatcher function to be called by the O.S.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
void C0(void)
{
    // Next state analyser.
    switch(ind_C0){
        case i_IDLE:
            // Entry check
            if(entryFsmFlg == 0){
                entryFsmFlg = 1;
                // Entry actions
                enter(1);
            }
            // State actions (Moore).
            C1();
            // Next state selection.
            if(start){
                // Child Initialization.
                _C1_Init();
                // Exit actions.
                leave(1);
                // Transition actions (Meally).
                go();
                // Pointing to the next state.
                ind_C0 = i_BUSY;
                // Reset entry flag
                entryFsmFlg = 0;
            }
        break;
        case i_BUSY:
            // State actions (Moore).
            work();
            // Next state selection.
            if(done){
                // Transition actions (Meally).
                stop();
                // Pointing to the next state.
                ind_C0 = i_IDLE;
            }
        break;
    }
}


// [Child:  C1]
  
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // FSM dispatcher function to be called by the O.S.
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  static void C1(void)
  {
      // Next state analyser.
      switch(ind_1_C1){
          case i_1_IDLE:
              // Entry check
              if(entryFsmFlg_1 == 0){
                  entryFsmFlg_1 = 1;
                  // Entry actions
                  enter(1);
              }
              // State actions (Moore).
              C2();
              // Next state selection.
              if(start){
                  // Child Initialization.
                  _C2_Init();
                  // Exit actions.
                  leave(1);
                  // Transition actions (Meally).
                  go();
                  // Pointing to the next state.
                  ind_1_C1 = i_1_BUSY;
                  // Reset entry flag
                  entryFsmFlg_1 = 0;
              }
          break;
          case i_1_BUSY:
              // State actions (Moore).
              work();
              // Next state selection.
              if(done){
                  // Transition actions (Meally).
                  stop();
                  // Pointing to the next state.
                  ind_1_C1 = i_1_IDLE;
              }
          break;
      }
  }
  
  
  // [Child:  C2]
    
    //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
    // FSM dispatcher function to be called by the O.S.
    //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
    static void C2(void)
    {
        // Next state analyser.
        switch(ind_1_1_C2){
            case i_1_1_IDLE:
                // Entry check
                if(entryFsmFlg_1_1 == 0){
                    entryFsmFlg_1_1 = 1;
                    // Entry actions
                    enter(1);
                }
                // State actions (Moore).
                C3();
                // Next state selection.
                if(start){
                    // Child Initialization.
                    _C3_Init();
                    // Exit actions.
                    leave(1);
                    // Transition actions (Meally).
                    go();
                    // Pointing to the next state.
                    ind_1_1_C2 = i_1_1_BUSY;
                    // Reset entry flag
                    entryFsmFlg_1_1 = 0;
                }
            break;
            case i_1_1_BUSY:
                // State actions (Moore).
                work();
                // Next state selection.
                if(done){
                    // Transition actions (Meally).
                    stop();
                    // Pointing to the next state.
                    ind_1_1_C2 = i_1_1_IDLE;
                }
            break;
        }
    }
    
    
    // [Child:  C3]
      
      //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
      // FSM dispatcher function to be called by the O.S.
      //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
      static void C3(void)
      {
          // Next state analyser.
          switch(ind_1_1_1_C3){
              case i_1_1_1_IDLE:
                  // Entry check
                  if(entryFsmFlg_1_1_1 == 0){
                      entryFsmFlg_1_1_1 = 1;
                      // Entry actions
                      enter(1);
                  }
                  // State actions (Moore).
                  C4();
                  // Next state selection.
                  if(start){
                      // Child Initialization.
                      _C4_Init();
                      // Exit actions.
                      leave(1);
                      // Transition actions (Meally).
                      go();
                      // Pointing to the next state.
                      ind_1_1_1_C3 = i_1_1_1_BUSY;
                      // Reset entry flag
                      entryFsmFlg_1_1_1 = 0;
                  }
              break;
              case i_1_1_1_BUSY:
                  // State actions (Moore).
                  work();
                  // Next state selection.
                  if(done){
                      // Transition actions (Meally).
                      stop();
                      // Pointing to the next state.
                      ind_1_1_1_C3 = i_1_1_1_IDLE;
                  }
              break;
          }
      }
      
      
      // [Child:  C4]
        
        //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
        // FSM dispatcher function to be called by the O.S.
        //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
        static void C4(void)
        {
            // Next state analyser.
            switch(ind_1_1_1_1_C4){
                case i_1_1_1_1_IDLE:
                    // Entry check
                    if(entryFsmFlg_1_1_1_1 == 0){
                        entryFsmFlg_1_1_1_1 = 1;
                        // Entry actions
                        enter(1);
                    }
                    // State actions (Moore).
                    leaf();
                    // Next state selection.
                    if(start){
                        // Exit actions.
                        leave(1);
                        // Transition actions (Meally).
                        go();
                        // Pointing to the next state.
                        ind_1_1_1_1_C4 = i_1_1_1_1_BUSY;
                        // Reset entry flag
                        entryFsmFlg_1_1_1_1 = 0;
                    }
                break;
                case i_1_1_1_1_BUSY:
                    // State actions (Moore).
                    work();
                    // Next state selection.
                    if(done){
                        // Transition actions (Meally).
                        stop();
                        // Pointing to the next state.
                        ind_1_1_1_1_C4 = i_1_1_1_1_IDLE;
                    }
                break;
            }
        }
        

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Ending code proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -

level = 0;

// [Child:  
  // [Child:  C2]
       
    
    // [Child:  C3]
      x();
      
        

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Ending code proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  End of the automatic generated C-code.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
