/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/*  Automatic generated C-code by the application:                              */
/*     Orvane Editor v1.0r0                                                     */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Methodology: Hierarchical Switch-case state. [v1.2r3]                        */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Exported function: void C0(void);                                            */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Initialization proposed by the user (Start).                                 */
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
  int level;

/* [Child:  C1]                                                                 */
    int level;
  
  /* [Child:  C2] */
      int level;
         
    
    
    /* [Child:  C3] */
        int level;
           
      
      
      /* [Child:  C4] */
          int level;

/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
/* Initialization proposed by the user (End).                                   */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Entry flags (Start).                                                         */
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
  static unsigned char entryFsmFlg = 0;
  static unsigned char entryFsmFlg_1 = 0;
  static unsigned char entryFsmFlg_1_1 = 0;
  static unsigned char entryFsmFlg_1_1_1 = 0;
  static unsigned char entryFsmFlg_1_1_1_1 = 0;
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
/* Entry flags (End).                                                           */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Automatic initialization (Start).                                            */
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
 /* States index. */
  #define  i_IDLE  0
  #define  i_BUSY  1

 /* Index variable. */
static unsigned char ind_C0 = i_IDLE;

#if defined(FSM_DEBUG)
    static unsigned char debug_transNumber = 0;
    static const char* debug_stateNames[] = {
        "Idle",
        "Busy",
    };
#endif


/* Macros & functions.                                                          */
/* Force the FSM to the initial state.                                          */
#if defined(FSM_DEBUG)
    #define C0_Init() { ind_C0 = i_IDLE; entryFsmFlg = 0; debug_transNumber = 0; }
#else
    #define C0_Init() { ind_C0 = i_IDLE; entryFsmFlg = 0; }
#endif

/* This is not a history FSM.                                                   */
#define _C0_Init()  {C0_Init(); /* Children: */ _C1_Init();}


/* [Child:  C1]                                                                 */
   /* States index. */
    #define  i_1_IDLE  0
    #define  i_1_BUSY  1
  
   /* Index variable. */
  static unsigned char ind_1_C1 = i_1_IDLE;
  
  #if defined(FSM_DEBUG)
      static unsigned char debug_transNumber_1 = 0;
      static const char* debug_stateNames_1[] = {
          "Idle",
          "Busy",
      };
  #endif
  
  
  /* Macros & functions. */
  /* Force the FSM to the initial state. */
  #if defined(FSM_DEBUG)
      #define C1_Init() { ind_1_C1 = i_1_IDLE; entryFsmFlg_1 = 0; debug_transNumber_1 = 0; }
  #else
      #define C1_Init() { ind_1_C1 = i_1_IDLE; entryFsmFlg_1 = 0; }
  #endif
  
  /* This is not a history FSM. */
  #define _C1_Init()  {C1_Init(); /* Children: */ _C2_Init();}
  
  
  /* [Child:  C2] */
     /* States index. */
      #define  i_1_1_IDLE  0
      #define  i_1_1_BUSY  1
    
     /* Index variable. */
    static unsigned char ind_1_1_C2 = i_1_1_IDLE;
    
    #if defined(FSM_DEBUG)
        static unsigned char debug_transNumber_1_1 = 0;
        static const char* debug_stateNames_1_1[] = {
            "Idle",
            "Busy",
        };
    #endif
    
    
    /* Macros & functions. */
    /* Force the FSM to the initial state. */
    #if defined(FSM_DEBUG)
        #define C2_Init() { ind_1_1_C2 = i_1_1_IDLE; entryFsmFlg_1_1 = 0; debug_transNumber_1_1 = 0; }
    #else
        #define C2_Init() { ind_1_1_C2 = i_1_1_IDLE; entryFsmFlg_1_1 = 0; }
    #endif
    
    /* This is not a history FSM. */
    #define _C2_Init()  {C2_Init(); /* Children: */ _C3_Init();}
    
    
    /* [Child:  C3] */
       /* States index. */
        #define  i_1_1_1_IDLE  0
        #define  i_1_1_1_BUSY  1
      
       /* Index variable. */
      static unsigned char ind_1_1_1_C3 = i_1_1_1_IDLE;
      
      #if defined(FSM_DEBUG)
          static unsigned char debug_transNumber_1_1_1 = 0;
          static const char* debug_stateNames_1_1_1[] = {
              "Idle",
              "Busy",
          };
      #endif
      
      
      /* Macros & functions. */
      /* Force the FSM to the initial state. */
      #if defined(FSM_DEBUG)
          #define C3_Init() { ind_1_1_1_C3 = i_1_1_1_IDLE; entryFsmFlg_1_1_1 = 0; debug_transNumber_1_1_1 = 0; }
      #else
          #define C3_Init() { ind_1_1_1_C3 = i_1_1_1_IDLE; entryFsmFlg_1_1_1 = 0; }
      #endif
      
      /* This is not a history FSM. */
      #define _C3_Init()  {C3_Init(); /* Children: */ _C4_Init();}
      
      
      /* [Child:  C4] */
         /* States index. */
          #define  i_1_1_1_1_IDLE  0
          #define  i_1_1_1_1_BUSY  1
        
         /* Index variable. */
        static unsigned char ind_1_1_1_1_C4 = i_1_1_1_1_IDLE;
        
        #if defined(FSM_DEBUG)
            static unsigned char debug_transNumber_1_1_1_1 = 0;
            static const char* debug_stateNames_1_1_1_1[] = {
                "Idle",
                "Busy",
            };
        #endif
        
        
        /* Macros & functions. */
        /* Force the FSM to the initial state. */
        #if defined(FSM_DEBUG)
            #define C4_Init() { ind_1_1_1_1_C4 = i_1_1_1_1_IDLE; entryFsmFlg_1_1_1_1 = 0; debug_transNumber_1_1_1_1 = 0; }
        #else
            #define C4_Init() { ind_1_1_1_1_C4 = i_1_1_1_1_IDLE; entryFsmFlg_1_1_1_1 = 0; }
        #endif
        
        /* This is not a history FSM. */
        #define _C4_Init()  {C4_Init(); /* Children: */ }
        
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
/* Automatic initialization (End).                                              */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Local child functions  (Start).                                              */
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
  static void C1(void);
  static void C2(void);
  static void C3(void);
  static void C4(void);
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
/* Local child functions  (End).                                                */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Debug customized macros.                                                     */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
#if defined(FSM_DEBUG)
    #define FSM_STATE_NAME()   debug_stateNames[ind_C0]
    #define FSM_TRANS_NUMBER() debug_transNumber
    #define FSM_NAME()         "C0"
#else
    #define FSM_STATE_NAME()
    #define FSM_TRANS_NUMBER()
    #define FSM_NAME()
#endif

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* FSM dispatcher function to be called by the O.S.                             */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
void C0(void)
{
    #if defined(FSM_DEBUG)
        debug_transNumber = 0;
    #endif
    /* Next state analyser. */
    switch(ind_C0){
        case i_IDLE:
            /* Entry check */
            if(entryFsmFlg == 0){
                entryFsmFlg = 1;
                /* Entry actions */
                enter(1);
            }
            /* State actions (Moore). */
            C1();
            /* Next state selection. */
            if(start){
                /* Child Initialization. */
                _C1_Init();
                /* Exit actions. */
                leave(1);
                /* Transition actions (Meally). */
                go();
                /* Pointing to the next state. */
                ind_C0 = i_BUSY;
                #if defined(FSM_DEBUG)
                    debug_transNumber = 1;
                #endif
                /* Reset entry flag */
                entryFsmFlg = 0;
            }
        break;
        case i_BUSY:
            /* State actions (Moore). */
            work();
            /* Next state selection. */
            if(done){
                /* Transition actions (Meally). */
                stop();
                /* Pointing to the next state. */
                ind_C0 = i_IDLE;
                #if defined(FSM_DEBUG)
                    debug_transNumber = 1;
                #endif
            }
        break;
    }
}


/* [Child:  C1]                                                                 */
  
  /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
  /* Debug customized macros. */
  /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
  #if defined(FSM_DEBUG)
      #undef  FSM_STATE_NAME
      #undef  FSM_TRANS_NUMBER
      #undef  FSM_NAME
      #define FSM_STATE_NAME()   debug_stateNames_1[ind_1_C1]
      #define FSM_TRANS_NUMBER() debug_transNumber_1
      #define FSM_NAME()         "C1"
  #endif
  
  /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
  /* FSM dispatcher function to be called by the O.S. */
  /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
  static void C1(void)
  {
      #if defined(FSM_DEBUG)
          debug_transNumber_1 = 0;
      #endif
      /* Next state analyser. */
      switch(ind_1_C1){
          case i_1_IDLE:
              /* Entry check */
              if(entryFsmFlg_1 == 0){
                  entryFsmFlg_1 = 1;
                  /* Entry actions */
                  enter(1);
              }
              /* State actions (Moore). */
              C2();
              /* Next state selection. */
              if(start){
                  /* Child Initialization. */
                  _C2_Init();
                  /* Exit actions. */
                  leave(1);
                  /* Transition actions (Meally). */
                  go();
                  /* Pointing to the next state. */
                  ind_1_C1 = i_1_BUSY;
                  #if defined(FSM_DEBUG)
                      debug_transNumber_1 = 1;
                  #endif
                  /* Reset entry flag */
                  entryFsmFlg_1 = 0;
              }
          break;
          case i_1_BUSY:
              /* State actions (Moore). */
              work();
              /* Next state selection. */
              if(done){
                  /* Transition actions (Meally). */
                  stop();
                  /* Pointing to the next state. */
                  ind_1_C1 = i_1_IDLE;
                  #if defined(FSM_DEBUG)
                      debug_transNumber_1 = 1;
                  #endif
              }
          break;
      }
  }
  
  
  /* [Child:  C2] */
    
    /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
    /* Debug customized macros. */
    /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
    #if defined(FSM_DEBUG)
        #undef  FSM_STATE_NAME
        #undef  FSM_TRANS_NUMBER
        #undef  FSM_NAME
        #define FSM_STATE_NAME()   debug_stateNames_1_1[ind_1_1_C2]
        #define FSM_TRANS_NUMBER() debug_transNumber_1_1
        #define FSM_NAME()         "C2"
    #endif
    
    /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
    /* FSM dispatcher function to be called by the O.S. */
    /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
    static void C2(void)
    {
        #if defined(FSM_DEBUG)
            debug_transNumber_1_1 = 0;
        #endif
        /* Next state analyser. */
        switch(ind_1_1_C2){
            case i_1_1_IDLE:
                /* Entry check */
                if(entryFsmFlg_1_1 == 0){
                    entryFsmFlg_1_1 = 1;
                    /* Entry actions */
                    enter(1);
                }
                /* State actions (Moore). */
                C3();
                /* Next state selection. */
                if(start){
                    /* Child Initialization. */
                    _C3_Init();
                    /* Exit actions. */
                    leave(1);
                    /* Transition actions (Meally). */
                    go();
                    /* Pointing to the next state. */
                    ind_1_1_C2 = i_1_1_BUSY;
                    #if defined(FSM_DEBUG)
                        debug_transNumber_1_1 = 1;
                    #endif
                    /* Reset entry flag */
                    entryFsmFlg_1_1 = 0;
                }
            break;
            case i_1_1_BUSY:
                /* State actions (Moore). */
                work();
                /* Next state selection. */
                if(done){
                    /* Transition actions (Meally). */
                    stop();
                    /* Pointing to the next state. */
                    ind_1_1_C2 = i_1_1_IDLE;
                    #if defined(FSM_DEBUG)
                        debug_transNumber_1_1 = 1;
                    #endif
                }
            break;
        }
    }
    
    
    /* [Child:  C3] */
      
      /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
      /* Debug customized macros. */
      /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
      #if defined(FSM_DEBUG)
          #undef  FSM_STATE_NAME
          #undef  FSM_TRANS_NUMBER
          #undef  FSM_NAME
          #define FSM_STATE_NAME()   debug_stateNames_1_1_1[ind_1_1_1_C3]
          #define FSM_TRANS_NUMBER() debug_transNumber_1_1_1
          #define FSM_NAME()         "C3"
      #endif
      
      /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
      /* FSM dispatcher function to be called by the O.S. */
      /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
      static void C3(void)
      {
          #if defined(FSM_DEBUG)
              debug_transNumber_1_1_1 = 0;
          #endif
          /* Next state analyser. */
          switch(ind_1_1_1_C3){
              case i_1_1_1_IDLE:
                  /* Entry check */
                  if(entryFsmFlg_1_1_1 == 0){
                      entryFsmFlg_1_1_1 = 1;
                      /* Entry actions */
                      enter(1);
                  }
                  /* State actions (Moore). */
                  C4();
                  /* Next state selection. */
                  if(start){
                      /* Child Initialization. */
                      _C4_Init();
                      /* Exit actions. */
                      leave(1);
                      /* Transition actions (Meally). */
                      go();
                      /* Pointing to the next state. */
                      ind_1_1_1_C3 = i_1_1_1_BUSY;
                      #if defined(FSM_DEBUG)
                          debug_transNumber_1_1_1 = 1;
                      #endif
                      /* Reset entry flag */
                      entryFsmFlg_1_1_1 = 0;
                  }
              break;
              case i_1_1_1_BUSY:
                  /* State actions (Moore). */
                  work();
                  /* Next state selection. */
                  if(done){
                      /* Transition actions (Meally). */
                      stop();
                      /* Pointing to the next state. */
                      ind_1_1_1_C3 = i_1_1_1_IDLE;
                      #if defined(FSM_DEBUG)
                          debug_transNumber_1_1_1 = 1;
                      #endif
                  }
              break;
          }
      }
      
      
      /* [Child:  C4] */
        
        /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
        /* Debug customized macros. */
        /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
        #if defined(FSM_DEBUG)
            #undef  FSM_STATE_NAME
            #undef  FSM_TRANS_NUMBER
            #undef  FSM_NAME
            #define FSM_STATE_NAME()   debug_stateNames_1_1_1_1[ind_1_1_1_1_C4]
            #define FSM_TRANS_NUMBER() debug_transNumber_1_1_1_1
            #define FSM_NAME()         "C4"
        #endif
        
        /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
        /* FSM dispatcher function to be called by the O.S. */
        /*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++ */
        static void C4(void)
        {
            #if defined(FSM_DEBUG)
                debug_transNumber_1_1_1_1 = 0;
            #endif
            /* Next state analyser. */
            switch(ind_1_1_1_1_C4){
                case i_1_1_1_1_IDLE:
                    /* Entry check */
                    if(entryFsmFlg_1_1_1_1 == 0){
                        entryFsmFlg_1_1_1_1 = 1;
                        /* Entry actions */
                        enter(1);
                    }
                    /* State actions (Moore). */
                    leaf();
                    /* Next state selection. */
                    if(start){
                        /* Exit actions. */
                        leave(1);
                        /* Transition actions (Meally). */
                        go();
                        /* Pointing to the next state. */
                        ind_1_1_1_1_C4 = i_1_1_1_1_BUSY;
                        #if defined(FSM_DEBUG)
                            debug_transNumber_1_1_1_1 = 1;
                        #endif
                        /* Reset entry flag */
                        entryFsmFlg_1_1_1_1 = 0;
                    }
                break;
                case i_1_1_1_1_BUSY:
                    /* State actions (Moore). */
                    work();
                    /* Next state selection. */
                    if(done){
                        /* Transition actions (Meally). */
                        stop();
                        /* Pointing to the next state. */
                        ind_1_1_1_1_C4 = i_1_1_1_1_IDLE;
                        #if defined(FSM_DEBUG)
                            debug_transNumber_1_1_1_1 = 1;
                        #endif
                    }
                break;
            }
        }
        

/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/* Ending code proposed by the user (Start).                                    */
/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/

level = 0;

/* [Child:                                                                      */
  /* [Child:  C2] */
       
    
    /* [Child:  C3] */
      x();
      
        

/* - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -*/
/* Ending code proposed by the user (End).                                      */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
/*  End of the automatic generated C-code.                                      */
/*++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++*/
